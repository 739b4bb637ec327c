#include "app/startup.h"

int main(int argc, char* argv[]) {
    return RunQuarzel(argc, argv);
}
