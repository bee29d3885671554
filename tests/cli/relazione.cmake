# "veltrano relazione" as a user runs it, without a screen: a one-page PDF
# whose text (pdftotext, poppler-utils) holds the site, its municipality, the
# four limit states and the chart; the page is kept as a PNG among the
# screenshots (pdftoppm). A second run over the same file replaces it whole.
# -DPROGRAMMA=path of veltrano -DCARTELLA=a working folder -DSCHERMATE=folder
file(REMOVE_RECURSE ${CARTELLA})
file(MAKE_DIRECTORY ${CARTELLA} ${SCHERMATE})
set(_pdf ${CARTELLA}/sito.pdf)
foreach(giro 1 2)
  execute_process(COMMAND ${PROGRAMMA} relazione --lon 13.4 --lat 42.35 --pdf ${_pdf} --suolo C --topografia T2
                  --vn 100 --classe III RESULT_VARIABLE codice OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT codice EQUAL 0 OR NOT out STREQUAL "" OR NOT EXISTS ${_pdf})
    message(FATAL_ERROR "exit code ${codice}\nstdout:\n${out}\nstderr:\n${err}")
  endif()
endforeach()
execute_process(COMMAND pdfinfo ${_pdf} OUTPUT_VARIABLE info RESULT_VARIABLE codice)
if(NOT codice EQUAL 0 OR NOT info MATCHES "Pages: +1\n" OR NOT info MATCHES "Title: +Pericolosit")
  message(FATAL_ERROR "pdfinfo (${codice}):\n${info}")
endif()
execute_process(COMMAND pdftotext -layout ${_pdf} - OUTPUT_VARIABLE testo RESULT_VARIABLE codice)
foreach(atteso "Pericolosità sismica del sito" "L'Aquila" "Abruzzo" "vita nominale 100 anni, classe d'uso III"
        "26305" "SLO" "SLD" "SLV" "SLC" "1424" "categoria C" "T2, smorzamento 5%" "Periodo T")
  string(FIND "${testo}" "${atteso}" dove)
  if(dove EQUAL -1)
    message(FATAL_ERROR "\"${atteso}\" is not in the PDF's text:\n${testo}")
  endif()
endforeach()
execute_process(COMMAND pdftoppm -png -r 72 -singlefile ${_pdf} ${SCHERMATE}/relazione_riga_di_comando
                RESULT_VARIABLE codice)
if(NOT codice EQUAL 0)
  message(FATAL_ERROR "pdftoppm failed (${codice})")
endif()
file(REMOVE_RECURSE ${CARTELLA})
