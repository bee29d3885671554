# "veltrano spettro --grafico", "veltrano dialogo" and "veltrano relazione"
# from a copy of the program in a folder where no Qt plugin can be found.
# -DPROGRAMMA=path of veltrano -DCARTELLA=an empty working folder
# -DDATI=the built data folder
file(REMOVE_RECURSE ${CARTELLA})
file(MAKE_DIRECTORY ${CARTELLA})
file(COPY ${PROGRAMMA} DESTINATION ${CARTELLA})
get_filename_component(_nome ${PROGRAMMA} NAME)
set(_programma ${CARTELLA}/${_nome})

function(prova regex)
  execute_process(COMMAND ${_programma} ${ARGN} RESULT_VARIABLE codice OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT codice EQUAL 1 OR NOT out STREQUAL "" OR NOT err MATCHES "${regex}")
    message(FATAL_ERROR "${ARGN}: exit code ${codice}\nstdout:\n${out}\nstderr:\n${err}")
  endif()
endfunction()

prova("^veltrano spettro: --grafico: grafici non disponibili: manca il modulo Qt \\([^\n]*libVeltrano_dialogo_qt\\.so[^\n]*\\)\n$"
      spettro --ag 0.25 --fo 2.4 --tc 0.3 --grafico ${CARTELLA}/spettri.png)
if(EXISTS ${CARTELLA}/spettri.png)
  message(FATAL_ERROR "a chart was written without the plugin")
endif()
prova("^veltrano dialogo: finestra di dialogo non disponibile: manca il modulo Qt \\(" dialogo --dati ${CARTELLA})
prova("^veltrano relazione: PDF non disponibile: manca il modulo Qt \\(" relazione --lon 13.4 --lat 42.35
      --pdf ${CARTELLA}/sito.pdf --dati ${DATI})
if(EXISTS ${CARTELLA}/sito.pdf)
  message(FATAL_ERROR "a site report was written without the plugin")
endif()
file(REMOVE_RECURSE ${CARTELLA})
