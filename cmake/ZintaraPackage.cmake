# What `cmake --install` puts under the prefix: the public headers, the layers' static libraries
# and the CMake package that imports them as Zintara::zintara. The reference plug-in is its own
# install component, reference_player, left out unless asked for: applications test with it, but
# do not ship it.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(zn_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Zintara)
set(zn_layers zintara_framework zintara_core zintara_driver_netscape zintara_driver_activex
              zintara_hosts zintara_components zintara_design)

# Imported as Zintara::framework ... Zintara::design, and Zintara::zintara for all of them.
foreach(layer IN LISTS zn_layers)
    string(REPLACE "zintara_" "" name ${layer})
    set_target_properties(${layer} PROPERTIES EXPORT_NAME ${name})
endforeach()
set_target_properties(zn_reference_plugin PROPERTIES EXPORT_NAME reference_player)

install(DIRECTORY include/zintara TYPE INCLUDE COMPONENT library)
install(TARGETS zintara ${zn_layers} EXPORT ZintaraTargets
        ARCHIVE COMPONENT library
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT ZintaraTargets NAMESPACE Zintara:: DESTINATION ${zn_package_dir}
        COMPONENT library)

install(TARGETS zn_reference_plugin EXPORT ZintaraReferencePlayer
        RUNTIME COMPONENT reference_player EXCLUDE_FROM_ALL
        ARCHIVE COMPONENT reference_player EXCLUDE_FROM_ALL)
install(EXPORT ZintaraReferencePlayer NAMESPACE Zintara:: DESTINATION ${zn_package_dir}
        COMPONENT reference_player EXCLUDE_FROM_ALL)

configure_package_config_file(cmake/package/ZintaraConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/ZintaraConfig.cmake INSTALL_DESTINATION ${zn_package_dir})
# Before 1.0 a minor release may change the interface, so only the same minor version matches.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ZintaraConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ZintaraConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/ZintaraConfigVersion.cmake
        DESTINATION ${zn_package_dir} COMPONENT library)
