# The test toolchain: the same sources as 64-bit Windows programs, run under the
# 64-bit Wine loader (machines whose kernel runs no 32-bit code can still run these).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TD_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
