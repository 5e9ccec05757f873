# Runs one fuzz target over its seeds, either for RUNS inputs or for SECONDS
# of time, with a fixed random seed unless SEED is given.
#
#   cmake -DFUZZER=... -DSEEDS=corpus/NAME -DWORK=folder (-DRUNS=N | -DSECONDS=S)
#         [-DKEEP=ON] [-DSEED=N] -P run_fuzzer.cmake
#
# New inputs go to WORK/corpus, never to the committed seeds; WORK/corpus is
# emptied first unless KEEP is on (scripts/fuzz keeps it between runs). An
# input that fails is left in WORK/artifacts and named in the output.

if(NOT KEEP)
    file(REMOVE_RECURSE ${WORK}/corpus)
endif()
file(REMOVE_RECURSE ${WORK}/artifacts)
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)

if(DEFINED SECONDS)
    set(limit -max_total_time=${SECONDS})
else()
    set(limit -runs=${RUNS})
endif()
if(NOT DEFINED SEED)
    set(SEED 1)
endif()

execute_process(COMMAND ${FUZZER} ${limit} -seed=${SEED} -timeout=10 -print_final_stats=1
                        -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus ${SEEDS}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)

# The last lines say how many inputs ran in how long.
string(REGEX MATCH "Done [0-9]+ runs in [0-9]+ second\\(s\\)" done "${err}")
string(REGEX MATCH "stat::number_of_executed_units: [0-9]+" units "${err}")
string(REGEX MATCH "stat::peak_rss_mb: [0-9]+" rss "${err}")
get_filename_component(name ${FUZZER} NAME)
message("${name}: ${done}; ${units}; ${rss}")
if(NOT rc EQUAL 0)
    file(GLOB found ${WORK}/artifacts/*)
    string(LENGTH "${err}" length)
    if(length GREATER 8000)
        math(EXPR from "${length} - 8000")
        string(SUBSTRING "${err}" ${from} 8000 err)
    endif()
    message(FATAL_ERROR "${name} failed (exit ${rc}); input kept in: ${found}\n${err}")
endif()
