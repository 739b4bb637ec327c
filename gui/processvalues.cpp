#include "gui/processvalues.h"

TProcessValues& ProcessValues() {
    static TProcessValues values;
    return values;
}
