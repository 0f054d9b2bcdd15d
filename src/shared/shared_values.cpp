#include "shared_values.h"

namespace dornal {

SharedValues& processShared() {
    static SharedValues values;
    return values;
}

} // namespace dornal
