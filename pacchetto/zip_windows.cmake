# The zip a user unpacks next to a host program: the library, its data file,
# the public header and the binding unit.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VELTRANO_PIATTAFORMA win32)
else()
  set(VELTRANO_PIATTAFORMA win64)
endif()
set(stadio ${CMAKE_CURRENT_BINARY_DIR}/Veltrano_dll)
set(zip ${CMAKE_BINARY_DIR}/Veltrano_dll-${PROJECT_VERSION}-${VELTRANO_PIATTAFORMA}.zip)
configure_file(${CMAKE_CURRENT_LIST_DIR}/LEGGIMI.txt.in ${CMAKE_CURRENT_BINARY_DIR}/LEGGIMI.txt @ONLY NEWLINE_STYLE WIN32)
set(contenuto Veltrano_dll.dll GeoDati.dat LEGGIMI.txt LegameLibreria.h LegameLibreria.c veltrano/veltrano.h
              veltrano/versione.h)
add_custom_command(
  OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stadio}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stadio}/veltrano
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Veltrano_dll> ${VELTRANO_OUT}/GeoDati.dat
          ${CMAKE_CURRENT_BINARY_DIR}/LEGGIMI.txt ${CMAKE_SOURCE_DIR}/legame/LegameLibreria.h
          ${CMAKE_SOURCE_DIR}/legame/LegameLibreria.c ${stadio}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/include/veltrano/veltrano.h
          ${VELTRANO_GENERATO}/veltrano/versione.h ${stadio}/veltrano
  # The debugging information stays in the build's copy.
  COMMAND ${CMAKE_STRIP} --strip-debug ${stadio}/Veltrano_dll.dll
  COMMAND ${CMAKE_COMMAND} -E chdir ${stadio} ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip -- ${contenuto}
  DEPENDS Veltrano_dll geodati ${VELTRANO_OUT}/GeoDati.dat ${CMAKE_CURRENT_BINARY_DIR}/LEGGIMI.txt
          ${CMAKE_SOURCE_DIR}/legame/LegameLibreria.h ${CMAKE_SOURCE_DIR}/legame/LegameLibreria.c
          ${CMAKE_SOURCE_DIR}/include/veltrano/veltrano.h ${VELTRANO_GENERATO}/veltrano/versione.h
  COMMENT "Packing ${zip}")
add_custom_target(pacchetto ALL DEPENDS ${zip})
