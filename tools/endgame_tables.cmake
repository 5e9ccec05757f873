# Builds the endgame tables into the program folder, through a cache keyed
# by the sources that decide their contents (the rules, the table layout and
# the generator): solving takes seconds optimised and much longer under the
# sanitizers, and every build of the same sources makes the same bytes.
#
# cmake -DGENERATOR=... -DOUTPUT=... -DCACHE=... -DINPUTS="a|b|..." -P endgame_tables.cmake

string(REPLACE "|" ";" INPUTS "${INPUTS}")
set(hashes "")
foreach(input IN LISTS INPUTS)
    file(SHA256 ${input} h)
    string(APPEND hashes "${h}")
endforeach()
string(SHA256 key "${hashes}")
set(dir ${CACHE}/${key})

if(NOT EXISTS ${dir}/complete)
    file(REMOVE_RECURSE ${dir}.part)
    execute_process(COMMAND ${GENERATOR} ${dir}.part RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "the endgame table generator failed")
    endif()
    file(REMOVE_RECURSE ${dir})
    file(RENAME ${dir}.part ${dir})
    file(TOUCH ${dir}/complete)
endif()

# The tables with the manifest of their checksums, without which the engine
# trusts none of them.
file(GLOB tables ${dir}/*.bib)
if(NOT EXISTS ${dir}/endgame.sum)
    message(FATAL_ERROR "the endgame table cache ${dir} lacks endgame.sum")
endif()
file(COPY ${tables} ${dir}/endgame.sum DESTINATION ${OUTPUT})
