#include "framework/CTime.h"

#include <chrono>

CTime CTime::GetCurrentTime() {
    using namespace std::chrono;
    return CTime(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
}
