#include "core/cellstore.h"

std::string OutOfBoundsMessage(const char* where, int index, int count) {
    return std::string(where) + ": Address (" + std::to_string(index) + ") out of bounds (0.." +
           std::to_string(count - 1) + ")";
}
