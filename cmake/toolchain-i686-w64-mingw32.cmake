# The product: the 32-bit Windows library, cross-built with MinGW-w64.
#   cmake -S . -B build-win32 -G Ninja --toolchain cmake/toolchain-i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELTRANO_TRIPLETTA i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-comune.cmake)

# float and double in SSE registers, as on x86_64: x87 registers would keep
# excess precision and round differently from the other builds. long double
# stays x87, extended precision. Hosts call with a 4-byte aligned stack, so
# the library realigns where it needs 16 bytes.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
