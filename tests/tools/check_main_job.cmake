# Runs scripts/main-job.sh in a copy of the tree whose set-up and build steps
# do nothing and whose tool is the one built, and checks what it prints: the
# exported document, its import and the second export, each named once.
#   SOURCE_DIR, WORK_DIR, TOOL, EMULATOR ('|'-separated)
string(REPLACE "|" " " emulator "${EMULATOR}")
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/scripts ${WORK_DIR}/build/normal/tools ${WORK_DIR}/examples)
file(COPY ${SOURCE_DIR}/scripts/main-job.sh DESTINATION ${WORK_DIR}/scripts)
foreach(step install-deps build)
  file(WRITE ${WORK_DIR}/scripts/${step}.sh "#!/bin/sh\nexit 0\n")
endforeach()
file(WRITE ${WORK_DIR}/build/normal/tools/svgfilter "#!/bin/sh\nexec ${emulator} '${TOOL}' \"$@\"\n")
# A drawing without text, which every build's host can export.
file(WRITE ${WORK_DIR}/examples/sample.json
  "{\"format\": \"svgfilter-drawing\", \"version\": 1, \"unit\": \"in\", \"page\": {\"width\": 1, \"height\": 1},
    \"layers\": [{\"name\": \"L\", \"objects\": [{\"kind\": \"rectangle\", \"x\": 0, \"y\": 0,
    \"width\": 0.5, \"height\": 0.5}]}]}\n")
file(CHMOD ${WORK_DIR}/scripts/main-job.sh ${WORK_DIR}/scripts/install-deps.sh ${WORK_DIR}/scripts/build.sh
  ${WORK_DIR}/build/normal/tools/svgfilter PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
execute_process(COMMAND bash ${WORK_DIR}/scripts/main-job.sh
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
message("${out}--- errors:\n${err}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "main-job.sh answered ${rc}")
endif()
foreach(file sample.svg sample-imported.json sample-again.svg)
  if(NOT EXISTS ${WORK_DIR}/out/${file})
    message(FATAL_ERROR "main-job.sh wrote no out/${file}")
  endif()
  string(REGEX MATCHALL "wrote [^\n]*/out/${file}\n" wrote "${out}")
  list(LENGTH wrote times)
  if(NOT times EQUAL 1)
    message(FATAL_ERROR "main-job.sh names out/${file} ${times} times, expected once")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
