# Run by cmake --install (and cpack): installs the Python module where the
# python3 of that prefix looks for it, decided now because cpack installs
# under /usr whatever the build was configured for:
#   /usr           lib/python3/dist-packages       (Debian's packaged modules)
#   anything else  lib/python3.X/dist-packages     (Debian reads /usr/local/...)
# and writes beside it where the library lies, relative to the module.
# Set by the caller: _sorgente, _scritto, _libdir, _python_minore, _python_dir,
# _soname.
if(_python_dir)
  set(_dir ${_python_dir})
elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR NOT _python_minore)
  set(_dir lib/python3/dist-packages)
else()
  set(_dir lib/python3.${_python_minore}/dist-packages)
endif()
set(_modulo ${CMAKE_INSTALL_PREFIX}/${_dir}/veltrano)
file(RELATIVE_PATH _relativa ${_modulo} ${CMAKE_INSTALL_PREFIX}/${_libdir}/${_soname})
file(WRITE ${_scritto}
     "# Written by the install: the library, relative to this folder, and its SONAME.\n"
     "LIBRERIA = \"${_relativa}\"\n"
     "SONAME = \"${_soname}\"\n")
file(GLOB _file ${_sorgente}/*.py)
file(INSTALL ${_file} ${_scritto} DESTINATION ${_modulo})
