# Installs the build into WORK_DIR/prefix (the library, then the reference player component),
# builds the consumer example against that prefix only, and plays MOVIE with it. Any step that
# fails fails the test.
function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${what} failed (${status}):\n${out}")
    endif()
    message(STATUS "${what}: ok\n${out}")
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run("install the reference player"
    ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component reference_player)
run("configure the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build
    -G ${GENERATOR} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DZintara_DIR=${prefix}/lib/cmake/Zintara)
run("build the consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run("play the movie" ${EMULATOR} ${WORK_DIR}/build/consumer.exe ${MOVIE})
