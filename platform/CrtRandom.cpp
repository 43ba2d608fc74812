#include "platform/CrtRandom.h"

CrtRandom& CrtRandom::Main() {
    static CrtRandom main;
    return main;
}
