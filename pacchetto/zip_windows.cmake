# The zip a user unpacks next to a host program: the library, its data
# folder (the grid, and for the site dialog the municipality database and
# the map layers under Shape/), the public header and the binding unit.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VELTRANO_PIATTAFORMA win32)
else()
  set(VELTRANO_PIATTAFORMA win64)
endif()
set(stadio ${CMAKE_CURRENT_BINARY_DIR}/Veltrano_dll)
set(zip ${CMAKE_BINARY_DIR}/Veltrano_dll-${PROJECT_VERSION}-${VELTRANO_PIATTAFORMA}.zip)
configure_file(${CMAKE_CURRENT_LIST_DIR}/LEGGIMI.txt.in ${CMAKE_CURRENT_BINARY_DIR}/LEGGIMI.txt @ONLY NEWLINE_STYLE WIN32)
# The layers only: not what a dialog run may have written beside them.
set(copia_strati)
foreach(s regioni2010 province2010 comuni2010 Griglia Dettagli)
  list(APPEND copia_strati COMMAND ${CMAKE_COMMAND} -E copy_directory ${VELTRANO_OUT}/Shape/${s} ${stadio}/Shape/${s})
endforeach()
set(contenuto Veltrano_dll.dll GeoDati.dat CoorCom.dat CoorCom2.dat Shape LEGGIMI.txt LegameLibreria.h
              LegameLibreria.c veltrano/veltrano.h veltrano/versione.h)
add_custom_command(
  OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stadio}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stadio}/veltrano ${stadio}/Shape
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Veltrano_dll> ${VELTRANO_OUT}/GeoDati.dat ${VELTRANO_OUT}/CoorCom.dat
          ${VELTRANO_OUT}/CoorCom2.dat
          ${CMAKE_CURRENT_BINARY_DIR}/LEGGIMI.txt ${CMAKE_SOURCE_DIR}/legame/LegameLibreria.h
          ${CMAKE_SOURCE_DIR}/legame/LegameLibreria.c ${stadio}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/include/veltrano/veltrano.h
          ${VELTRANO_GENERATO}/veltrano/versione.h ${stadio}/veltrano
  ${copia_strati}
  # The debugging information stays in the build's copy.
  COMMAND ${CMAKE_STRIP} --strip-debug ${stadio}/Veltrano_dll.dll
  COMMAND ${CMAKE_COMMAND} -E chdir ${stadio} ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip -- ${contenuto}
  DEPENDS Veltrano_dll geodati mappe ${VELTRANO_OUT}/GeoDati.dat ${VELTRANO_OUT}/CoorCom.dat
          ${VELTRANO_OUT}/Shape/comuni2010/com2010_s.shp ${CMAKE_CURRENT_BINARY_DIR}/LEGGIMI.txt
          ${CMAKE_SOURCE_DIR}/legame/LegameLibreria.h ${CMAKE_SOURCE_DIR}/legame/LegameLibreria.c
          ${CMAKE_SOURCE_DIR}/include/veltrano/veltrano.h ${VELTRANO_GENERATO}/veltrano/versione.h
  COMMENT "Packing ${zip}")
add_custom_target(pacchetto ALL DEPENDS ${zip})
