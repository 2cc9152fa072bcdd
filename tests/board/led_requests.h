// The LED requests the board driver logs for the daemons' LED states, as
// the board tests look for them in /dev/boardlog.
#pragma once

#include <string>

namespace board_test {

const std::string kWpsInProgress = "gpio led pin=10 on=10 off=10 blinks=4000 rests=1 times=4000";
const std::string kWpsEnded = "gpio led pin=10 on=1 off=4000 blinks=1 rests=1 times=4000";
const std::string kInternetLit = "gpio led pin=8 on=4000 off=0 blinks=1 rests=0 times=4000";
const std::string kInternetBlinking = "gpio led pin=8 on=10 off=10 blinks=4000 rests=0 times=4000";

}  // namespace board_test
