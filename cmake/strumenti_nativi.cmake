# Programs that a cross build runs on the build machine: genera_geodati (the
# data folder), genera_mappe (the dialog's map data), genera_cursori (the
# library's cursor files) and genera_attesi (the engine's records that the
# Windows tests compare against). Either given from
# a native build, or built here by a nested native build of this source tree.
set(VELTRANO_GENERATORE "" CACHE FILEPATH
    "genera_geodati built for the build machine; empty: a nested native build makes it")
if(VELTRANO_GENERATORE)
  get_filename_component(_cartella_nativa ${VELTRANO_GENERATORE} DIRECTORY)
  set(VELTRANO_ATTESI ${_cartella_nativa}/genera_attesi)
  set(VELTRANO_ATTESI_DIALOGO ${_cartella_nativa}/genera_attesi_dialogo)
  set(VELTRANO_GENERA_MAPPE ${_cartella_nativa}/genera_mappe)
  set(VELTRANO_GENERA_CURSORI ${_cartella_nativa}/genera_cursori)
else()
  include(ExternalProject)
  set(_nativo ${CMAKE_BINARY_DIR}/nativo)
  # The native compiler, whatever the environment says for the cross one.
  ExternalProject_Add(veltrano_nativo
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${_nativo}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DVELTRANO_TESTS=OFF -DVELTRANO_BENCH=OFF -DVELTRANO_DIALOG=OFF
               -DVELTRANO_WERROR=${VELTRANO_WERROR} -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${_nativo} --target genera_geodati genera_attesi genera_mappe
                                                   genera_attesi_dialogo genera_cursori
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${_nativo}/bin/genera_geodati ${_nativo}/bin/genera_attesi ${_nativo}/bin/genera_mappe
                   ${_nativo}/bin/genera_attesi_dialogo ${_nativo}/bin/genera_cursori)
  set(VELTRANO_GENERATORE ${_nativo}/bin/genera_geodati)
  set(VELTRANO_ATTESI ${_nativo}/bin/genera_attesi)
  set(VELTRANO_ATTESI_DIALOGO ${_nativo}/bin/genera_attesi_dialogo)
  set(VELTRANO_GENERA_MAPPE ${_nativo}/bin/genera_mappe)
  set(VELTRANO_GENERA_CURSORI ${_nativo}/bin/genera_cursori)
endif()
