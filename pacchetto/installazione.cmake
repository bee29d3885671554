# The install tree (cmake --install) and the Debian packages (cpack).
#
#   bin/veltrano                          the command line
#   lib/.../libVeltrano_dll.so.8          the library (SONAME from the major version)
#   include/veltrano/                     veltrano.h, versione.h
#   lib/.../cmake/Veltrano/               find_package(Veltrano): the target Veltrano::Veltrano
#   lib/.../pkgconfig/veltrano.pc         pkg-config veltrano
#   lib/.../veltrano/                     the Qt plugin: the dialog and the chart files
#   share/veltrano/                       GeoDati.dat and the other data files
#   lib/python3*/dist-packages/veltrano/  the Python module
#
# Components: "veltrano" is all of the above and needs no Qt, with the
# municipalities' layer; "dialogo" is the site dialog's plugin and the other
# map layers.
include(CMakePackageConfigHelpers)

set(VELTRANO_INSTALL_CMAKE ${CMAKE_INSTALL_LIBDIR}/cmake/Veltrano)
set(VELTRANO_INSTALL_PYTHON "" CACHE STRING
    "Folder of the Python module, relative to the prefix (empty: the one python3 reads)")

# The library and its public headers.
add_library(Veltrano::Veltrano ALIAS Veltrano_dll)
set_target_properties(Veltrano_dll PROPERTIES EXPORT_NAME Veltrano)
install(TARGETS Veltrano_dll EXPORT VeltranoTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT veltrano NAMELINK_COMPONENT veltrano
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT veltrano)
install(FILES ${CMAKE_SOURCE_DIR}/include/veltrano/veltrano.h ${VELTRANO_GENERATO}/veltrano/versione.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/veltrano COMPONENT veltrano)

# find_package(Veltrano) and pkg-config veltrano.
install(EXPORT VeltranoTargets NAMESPACE Veltrano:: DESTINATION ${VELTRANO_INSTALL_CMAKE} COMPONENT veltrano)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VeltranoConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/VeltranoConfig.cmake
  INSTALL_DESTINATION ${VELTRANO_INSTALL_CMAKE} PATH_VARS VELTRANO_INSTALL_DATI)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/VeltranoConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/VeltranoConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/VeltranoConfigVersion.cmake
        DESTINATION ${VELTRANO_INSTALL_CMAKE} COMPONENT veltrano)
file(RELATIVE_PATH VELTRANO_PC_PREFISSO ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" VELTRANO_PC_PREFISSO "${VELTRANO_PC_PREFISSO}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/veltrano.pc.in ${CMAKE_CURRENT_BINARY_DIR}/veltrano.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/veltrano.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT veltrano)

# The command line and the data files.
install(TARGETS veltrano RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT veltrano)
install(FILES ${VELTRANO_OUT}/GeoDati.dat DESTINATION ${VELTRANO_INSTALL_DATI} COMPONENT veltrano)
if(TARGET mappe)
  install(FILES ${VELTRANO_OUT}/CoorCom.dat ${VELTRANO_OUT}/CoorCom2.dat
          DESTINATION ${VELTRANO_INSTALL_DATI} COMPONENT veltrano)
  # veltrano sito names the municipality under the site from the
  # municipalities' layer, so that layer comes with the command line; the
  # other layers are the dialog's alone.
  install(DIRECTORY ${VELTRANO_OUT}/Shape DESTINATION ${VELTRANO_INSTALL_DATI} COMPONENT veltrano
          FILES_MATCHING PATTERN "comuni2010/*")
  install(DIRECTORY ${VELTRANO_OUT}/Shape DESTINATION ${VELTRANO_INSTALL_DATI} COMPONENT dialogo
          PATTERN "comuni2010" EXCLUDE)
endif()
if(TARGET mappa_web_pagina)
  install(FILES ${VELTRANO_OUT}/Tavrel.htm DESTINATION ${VELTRANO_INSTALL_DATI} COMPONENT dialogo)
  install(DIRECTORY ${VELTRANO_OUT}/mappa_web DESTINATION ${VELTRANO_INSTALL_DATI} COMPONENT dialogo)
endif()
if(TARGET guida)
  install(DIRECTORY ${VELTRANO_OUT}/guida DESTINATION ${VELTRANO_INSTALL_DATI} COMPONENT dialogo)
endif()
# The dialog's Qt plugin, which the library and the command line load from
# the plugin folder relative to their own files.
if(TARGET Veltrano_dialogo_qt)
  install(TARGETS Veltrano_dialogo_qt LIBRARY DESTINATION ${VELTRANO_INSTALL_PLUGIN} COMPONENT dialogo)
endif()

# The Python module; its folder depends on the prefix given at install time.
find_program(VELTRANO_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(VELTRANO_PYTHON3 python3)
set(_minore "")
if(VELTRANO_PYTHON3)
  execute_process(COMMAND ${VELTRANO_PYTHON3} -c "import sys; print(sys.version_info[1])"
                  OUTPUT_VARIABLE _minore OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
install(CODE "set(_sorgente \"${CMAKE_SOURCE_DIR}/python/veltrano\")
  set(_scritto \"${CMAKE_CURRENT_BINARY_DIR}/_installazione.py\")
  set(_libdir \"${CMAKE_INSTALL_LIBDIR}\")
  set(_python_minore \"${_minore}\")
  set(_python_dir \"${VELTRANO_INSTALL_PYTHON}\")
  set(_soname libVeltrano_dll.so.${PROJECT_VERSION_MAJOR})" COMPONENT veltrano)
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/installa_python.cmake COMPONENT veltrano)

# Debian packages: veltrano, and veltrano-dialogo once the dialog's plugin
# is built.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrano)
set(CPACK_PACKAGE_VENDOR Veltrano)
set(CPACK_PACKAGE_CONTACT "Veltrano <veltrano@localhost.invalid>" CACHE STRING "Maintainer of the Debian packages")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL veltrano)
if(TARGET mappe)
  list(APPEND CPACK_COMPONENTS_ALL dialogo)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON) # the build keeps the debugging information
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_VELTRANO_PACKAGE_NAME veltrano)
set(CPACK_DEBIAN_VELTRANO_PACKAGE_RECOMMENDS "python3, python3-numpy")
set(CPACK_COMPONENT_VELTRANO_DESCRIPTION
    "Pericolosità sismica dei siti italiani (D.M. 14/01/2008)\n"
    "ag, Fo e Tc* dei quattro stati limite di un sito, interpolati dalla griglia\n"
    "nazionale: la libreria libVeltrano_dll con le sue intestazioni, i file per\n"
    "CMake e pkg-config, il comando veltrano, i dati e il modulo Python veltrano.")
set(CPACK_DEBIAN_DIALOGO_PACKAGE_NAME veltrano-dialogo)
set(CPACK_COMPONENT_DIALOGO_DEPENDS veltrano)
# The plugin is of no use without the library, the program and the data of
# its own version: veltrano-dialogo depends on that veltrano.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DIALOGO_DESCRIPTION
    "Finestra di dialogo del sito di Veltrano (Qt)\n"
    "La mappa dell'Italia con i confini amministrativi e la griglia di\n"
    "pericolosità, che VisualizzaDialog apre.")
# The library lands in a folder of the dynamic linker: its cache is renewed.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_VELTRANO_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/triggers)
include(CPack)
