#pragma once

namespace vexa::testing {

// Replies of logger 000041 with 15 digital inputs and 2 relays, in the layout
// the simulated logger sends on the cable.
inline constexpr char kStatusReply[] =
    "#STA:000041,T;TM:261209143005;A00:45.20;A02:48.30;A07:21.10;A08:21.20;A09:21.30;A10:21.40;"
    "A11:21.50;A12:21.60;A13:20.50;A14:20.70;P21:0.000;K01:100000000001000;O01:10;#";
inline constexpr char kGroup1Reply[] =
    "#STC1:000041;TM:2612091430;PS:135791,246802;SA:3;CP:+491701234567,2;AP1:+491709876543;"
    "AP2:;ER:00;IA:1;XH:21;OUT1:0010;OUT2:0005;#";
inline constexpr char kGroup3Reply[] =
    "#STC3:000041;COUT1:10000000000000000001000000;COUT2:00000000000000000000000000;#";

}  // namespace vexa::testing
