#include "core/machine.h"

#include "core/history.h"

TMachine::TMachine() {
    Registers.OnCellChanged = [this](CellStore*, int index, int, int value) {
        if (index == OutputRegister && OnOutput && !SteppingBack) OnOutput(value);
    };
}

void TMachine::LoadMemory(const TMemoryImage& image) {
    for (int a = 0; a < 256; ++a) MainMemory.SetContents(a, image[a]);
}

TMemoryImage TMachine::Memory() const {
    TMemoryImage image{};
    for (int a = 0; a < 256; ++a) image[a] = MainMemory.GetContents(a);
    return image;
}
