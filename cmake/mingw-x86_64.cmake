# Cross toolchain for the 64-bit build of the same sources: the test tree of
# hosts whose kernel cannot run 32-bit code, where only the 64-bit Wine works.
set(TVS_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Debian's wine wrapper would take the 32-bit loader: call the 64-bit one.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine64/wine)
