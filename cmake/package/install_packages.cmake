# Installs the two libraries as packages: each gets its targets file and a
# config file under LIBDIR/cmake/NAME (relocatable: they find the prefix
# from their own place) and NAME.pc under LIBDIR/pkgconfig (written when
# installing, for the prefix given then).
include(CMakePackageConfigHelpers)

install(FILES ${PROJECT_SOURCE_DIR}/nvram/include/nvram.h
              ${PROJECT_SOURCE_DIR}/nvram/include/nvram_tool.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS nvram_shared EXPORT nvramTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS ${BOARDUTIL_INSTALLED} ${BOARDUTIL_RUNTIME_TARGET} EXPORT boardutilTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})

# routerd_install_package(NAME): the CMake package and pkg-config file of
# the exported targets NAMETargets, as NAME::NAME.
function(routerd_install_package name)
  set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/${name})
  set(staging ${PROJECT_BINARY_DIR}/package/${name})
  install(EXPORT ${name}Targets NAMESPACE ${name}:: DESTINATION ${config_dir})
  configure_package_config_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${name}Config.cmake.in
                                ${staging}/${name}Config.cmake INSTALL_DESTINATION ${config_dir})
  write_basic_package_version_file(${staging}/${name}ConfigVersion.cmake
                                   COMPATIBILITY SameMajorVersion)
  install(FILES ${staging}/${name}Config.cmake ${staging}/${name}ConfigVersion.cmake
          DESTINATION ${config_dir})
  install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    set(libdir \"${CMAKE_INSTALL_LIBDIR}\")
    set(includedir \"${CMAKE_INSTALL_INCLUDEDIR}\")
    set(version \"${PROJECT_VERSION}\")
    set(runtime_libs \"${BOARDUTIL_RUNTIME_LIBS}\")
    configure_file(\"${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${name}.pc.in\" \"${staging}/${name}.pc\" @ONLY)
    file(INSTALL \"${staging}/${name}.pc\" DESTINATION \"\${prefix}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
  ")
endfunction()

routerd_install_package(nvram)
routerd_install_package(boardutil)
