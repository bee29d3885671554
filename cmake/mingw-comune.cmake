# Shared part of the MinGW-w64 toolchain files; VELTRANO_TRIPLETTA is set by the caller.
set(CMAKE_C_COMPILER ${VELTRANO_TRIPLETTA}-gcc)
set(CMAKE_CXX_COMPILER ${VELTRANO_TRIPLETTA}-g++)
set(CMAKE_RC_COMPILER ${VELTRANO_TRIPLETTA}-windres)
set(CMAKE_OBJDUMP ${VELTRANO_TRIPLETTA}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${VELTRANO_TRIPLETTA})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The library and the programs depend on system DLLs only: no libgcc,
# libstdc++ or winpthread DLL to ship beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
