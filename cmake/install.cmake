# cmake --install: the library, its public headers below include/kvavtr, a CMake
# package (find_package(kvavtr) gives kvavtr::kvavtr) and a pkg-config file.
include(CMakePackageConfigHelpers)
include(${CMAKE_CURRENT_LIST_DIR}/public_headers.cmake)

set(KVAVTR_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/kvavtr)
set(KVAVTR_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/kvavtr)

kvavtr_public_headers(KVAVTR_PUBLIC_HEADERS)
set(umbrella "// Every exported class and function of the library.\n#pragma once\n")
foreach(header ${KVAVTR_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES src/${header} DESTINATION ${KVAVTR_INSTALL_INCLUDEDIR}/${folder})
endforeach()
foreach(header ${KVAVTR_EXPORTED_HEADERS})
  if(header IN_LIST KVAVTR_PUBLIC_HEADERS)
    string(APPEND umbrella "#include \"${header}\"\n")
  endif()
endforeach()
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/kvavtr.h CONTENT "${umbrella}")
install(FILES ${CMAKE_BINARY_DIR}/kvavtr.h DESTINATION ${KVAVTR_INSTALL_INCLUDEDIR})

install(TARGETS kvavtr EXPORT kvavtrTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT kvavtrTargets NAMESPACE kvavtr:: DESTINATION ${KVAVTR_INSTALL_CMAKEDIR})
file(WRITE ${CMAKE_BINARY_DIR}/kvavtrConfig.cmake
  "include(CMakeFindDependencyMacro)\nfind_dependency(Threads)\n"
  "include(\${CMAKE_CURRENT_LIST_DIR}/kvavtrTargets.cmake)\n")
write_basic_package_version_file(${CMAKE_BINARY_DIR}/kvavtrConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/kvavtrConfig.cmake ${CMAKE_BINARY_DIR}/kvavtrConfigVersion.cmake
  DESTINATION ${KVAVTR_INSTALL_CMAKEDIR})

# Relative to the file's own folder, so the prefix can be chosen at install time.
file(RELATIVE_PATH KVAVTR_PC_TO_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
configure_file(cmake/kvavtr.pc.in ${CMAKE_BINARY_DIR}/kvavtr.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/kvavtr.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
