# cmake -DFUZZER=<program> -DSEEDS=<seed folder> -DWORK=<scratch folder> -DSECONDS=<n> -P run_fuzzer.cmake
# One short fuzz run from the committed seeds. New inputs go to a scratch corpus, never into the source tree;
# a finding's input is written to the scratch folder and named in the output.
cmake_minimum_required(VERSION 3.25)
foreach(_var FUZZER SEEDS WORK SECONDS)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "run_fuzzer.cmake needs -D${_var}=...")
  endif()
endforeach()
if(NOT IS_DIRECTORY "${SEEDS}")
  message(FATAL_ERROR "no seed corpus at ${SEEDS}")
endif()
file(MAKE_DIRECTORY "${WORK}/corpus")
execute_process(
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
          -artifact_prefix=${WORK}/ "${WORK}/corpus" "${SEEDS}"
  RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (exit ${_result}); its input is in ${WORK}")
endif()
