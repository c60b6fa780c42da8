# Cross toolchain: 32-bit Windows with clang, on MinGW-w64's headers and runtime and the
# libstdc++ of its GCC (posix thread model), linked by lld.
include(${CMAKE_CURRENT_LIST_DIR}/i686-w64-mingw32-target.cmake)

set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   i686-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_SYSROOT /usr/i686-w64-mingw32)

# clang finds no GCC of its own here: Debian names the folder "12-posix", which it does not read
# as a version. So the GCC folder is asked of the GCC driver and named for headers, libraries
# and the start and end objects.
execute_process(COMMAND i686-w64-mingw32-g++-posix -print-libgcc-file-name
                OUTPUT_VARIABLE zn_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(zn_gcc_dir "${zn_libgcc}" DIRECTORY)
set(CMAKE_CXX_FLAGS_INIT "-stdlib++-isystem ${zn_gcc_dir}/include/c++ \
-stdlib++-isystem ${zn_gcc_dir}/include/c++/i686-w64-mingw32 \
-stdlib++-isystem ${zn_gcc_dir}/include/c++/backward")

# As with GCC, nothing needs the compiler's runtime DLLs; -pthread brings winpthreads, which the
# posix libstdc++ calls.
set(zn_link "-fuse-ld=lld -B${zn_gcc_dir} -L${zn_gcc_dir} -pthread -static-libgcc -static-libstdc++ -static")
set(CMAKE_EXE_LINKER_FLAGS_INIT    "${zn_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${zn_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${zn_link}")
