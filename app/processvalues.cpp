#include "app/processvalues.h"

TProcessValues& ProcessValues() {
    static TProcessValues values;
    return values;
}
