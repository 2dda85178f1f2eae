#include "scr_fuzz.h"
#include "settings/settings_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvik::fuzz::loadScr(data, size, quorvik::catalogue::Place::Audio);
    return 0;
}
