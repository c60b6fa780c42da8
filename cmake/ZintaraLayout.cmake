# zn_add_subfolders([FIRST folder...]): adds every subfolder of the current source folder that
# has a CMakeLists.txt, the FIRST ones before the rest (for folders the others build on).
function(zn_add_subfolders)
    cmake_parse_arguments(ARG "" "" "FIRST" ${ARGN})
    file(GLOB folders LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
    if(ARG_FIRST)
        list(REMOVE_ITEM folders ${ARG_FIRST})
    endif()
    foreach(folder ${ARG_FIRST} ${folders})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt)
            add_subdirectory(${folder})
        endif()
    endforeach()
endfunction()
