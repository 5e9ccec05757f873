# The build's reader of data/eval_weights.txt, run on damaged copies: it must
# fail, name the file and line, and leave its output as it was.
# Called by ctest with -DTOOL=<make_eval_weights> -DSOURCE=<eval_weights.txt> -DWORK=<folder>.

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(READ ${SOURCE} text)
file(WRITE ${WORK}/out.inc "kept\n")

function(expect_refusal name damaged pattern)
    file(WRITE ${WORK}/${name}.txt "${damaged}")
    execute_process(COMMAND ${TOOL} ${WORK}/${name}.txt ${WORK}/out.inc
                    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
    if(rc EQUAL 0)
        message(SEND_ERROR "${name}: accepted")
    endif()
    if(NOT err MATCHES "${pattern}")
        message(SEND_ERROR "${name}: stderr lacks '${pattern}'\nstderr:\n${err}")
    endif()
    file(READ ${WORK}/out.inc kept)
    if(NOT kept STREQUAL "kept\n")
        message(SEND_ERROR "${name}: the output was touched")
    endif()
endfunction()

# The line of king-middle, counted from 1.
string(FIND "${text}" "\nking-middle " at)
string(SUBSTRING "${text}" 0 ${at} head)
string(REGEX MATCHALL "\n" head_lines "${head}")
list(LENGTH head_lines n)
math(EXPR line "${n} + 2")
string(REGEX REPLACE "\nking-middle +" "\nking-midle " misspelt "${text}")
expect_refusal(misspelt "${misspelt}" "misspelt.txt:${line}: unknown weight 'king-midle'")
string(REGEX REPLACE "\nshot-large +[0-9-]+" "" incomplete "${text}")
expect_refusal(incomplete "${incomplete}" "incomplete.txt:[0-9]+: incomplete: missing shot-large")
string(REGEX REPLACE "\nfinal-clamp +[0-9-]+" "\nfinal-clamp 17O" letter "${text}")
expect_refusal(letter "${letter}" "letter.txt:[0-9]+: '17O' is not a whole number")

# The source itself goes through.
execute_process(COMMAND ${TOOL} ${SOURCE} ${WORK}/good.inc RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(SEND_ERROR "the source is refused: ${err}")
endif()
