# Cross toolchain: 32-bit Windows with MinGW-w64's GCC (posix thread model).
include(${CMAKE_CURRENT_LIST_DIR}/i686-w64-mingw32-target.cmake)

set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)

# Executables and DLLs must run without the compiler's runtime DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static-libgcc -static-libstdc++ -static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
