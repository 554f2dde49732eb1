# The release toolchain: 32-bit Windows (PE32), the binaries that ship in dist/.
# Its tests run under Wine's 32-bit side (emulated where the kernel runs no 32-bit code).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TD_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
