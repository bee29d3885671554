# Runs one command line and checks its exit code and output (stdout + stderr).
# -DPROGRAMMA=... -DARGOMENTI="a;b;c" -DCODICE=n -DREGEX=...
execute_process(COMMAND ${PROGRAMMA} ${ARGOMENTI} RESULT_VARIABLE codice OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT codice EQUAL CODICE)
  message(FATAL_ERROR "exit code ${codice}, expected ${CODICE}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(NOT "${out}${err}" MATCHES "${REGEX}")
  message(FATAL_ERROR "output does not match ${REGEX}\nstdout:\n${out}\nstderr:\n${err}")
endif()
