# The 64-bit Windows library, for the tests under wine64 (same code, same
# extended-precision arithmetic as the 32-bit product).
#   cmake -S . -B build-win64 -G Ninja --toolchain cmake/toolchain-x86_64-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELTRANO_TRIPLETTA x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-comune.cmake)
