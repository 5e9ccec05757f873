# Runs tavolex-cli as a user would and checks what it prints and returns.
# Called by ctest with -DCLI=<path of tavolex-cli>.

set(failures 0)

function(run_cli)
    cmake_parse_arguments(ARG "" "EXIT;NAME" "ARGS;STDOUT;NOT_STDOUT;STDERR" ${ARGN})
    execute_process(COMMAND ${CLI} ${ARG_ARGS}
                    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
    set(ok TRUE)
    if(NOT rc EQUAL ARG_EXIT)
        message(SEND_ERROR "${ARG_NAME}: exit code ${rc}, expected ${ARG_EXIT}\nstdout:\n${out}\nstderr:\n${err}")
        set(ok FALSE)
    endif()
    foreach(pattern IN LISTS ARG_STDOUT)
        if(NOT out MATCHES "${pattern}")
            message(SEND_ERROR "${ARG_NAME}: stdout lacks '${pattern}'\nstdout:\n${out}")
            set(ok FALSE)
        endif()
    endforeach()
    foreach(pattern IN LISTS ARG_NOT_STDOUT)
        if(out MATCHES "${pattern}")
            message(SEND_ERROR "${ARG_NAME}: stdout has '${pattern}'\nstdout:\n${out}")
            set(ok FALSE)
        endif()
    endforeach()
    foreach(pattern IN LISTS ARG_STDERR)
        if(NOT err MATCHES "${pattern}")
            message(SEND_ERROR "${ARG_NAME}: stderr lacks '${pattern}'\nstderr:\n${err}")
            set(ok FALSE)
        endif()
    endforeach()
    if(ARG_EXIT EQUAL 2)
        # A refused command prints nothing but one line on stderr.
        string(REGEX MATCHALL "\n" lines "${err}")
        list(LENGTH lines n)
        if(NOT out STREQUAL "" OR NOT n EQUAL 1)
            message(SEND_ERROR "${ARG_NAME}: expected one stderr line and no output\nstdout:\n${out}\nstderr:\n${err}")
            set(ok FALSE)
        endif()
    endif()
endfunction()

run_cli(NAME perft-start EXIT 0 ARGS perft 4
        STDOUT "^perft 1 7\nperft 2 49\nperft 3 302\nperft 4 1469\ntime [0-9]+ ms, [0-9]+ nodes/s\n$")
run_cli(NAME perft-divide EXIT 0 ARGS perft --divide 2
        STDOUT "^g3-f4 7\ng3-h4 7\ne3-d4 7\ne3-f4 7\nc3-b4 7\nc3-d4 7\na3-b4 7\ntotal 49\ntime ")
run_cli(NAME perft-fen EXIT 0 ARGS perft "W:WK29:B25,18,11,19,20" 1 STDOUT "^perft 1 4\n")
run_cli(NAME moves-start EXIT 0 ARGS moves
        STDOUT "^g3-f4\ng3-h4\ne3-d4\ne3-f4\nc3-b4\nc3-d4\na3-b4\n$")
run_cli(NAME moves-capture-names EXIT 0 ARGS moves "W:Wa1:Bb2,d4"
        STDOUT "^a1xe5 \\[b2,d4\\]\n$")
run_cli(NAME moves-no-move EXIT 0 ARGS moves "B:W21:B" STDOUT "^$")
run_cli(NAME show-start EXIT 0 ARGS show
        STDOUT "8  +b +b +b +b\n" "1 +w +w +w +w +\n" "White to move")
run_cli(NAME show-names-and-kings EXIT 0 ARGS show "B:Wc3,Kh8:B1-2"
        STDOUT "8  +b +b +\\. +W\n" "Black to move" "B:WK4,22:B1,2" )
run_cli(NAME bad-side EXIT 2 ARGS moves "X:W21:B1" STDERR "side to move")
run_cli(NAME light-square EXIT 2 ARGS show "W:Wa8:B1" STDERR "light square")
run_cli(NAME off-board EXIT 2 ARGS show "W:W33:B1" STDERR "off the board")
run_cli(NAME twice EXIT 2 ARGS perft "W:W21,22:B21" 2 STDERR "given twice")
run_cli(NAME garbage EXIT 2 ARGS moves "W:Wxyz:B1" STDERR "not a square")
run_cli(NAME one-list EXIT 2 ARGS moves "W:W21" STDERR "both piece lists")
run_cli(NAME bad-depth EXIT 2 ARGS perft 0 STDERR "depth")
run_cli(NAME unknown-command EXIT 2 ARGS frobnicate STDERR "unknown command")
run_cli(NAME egdb-corner EXIT 0 ARGS egdb "W:WK4:BK29"
        STDOUT "^table dod.bib offset 157 byte -2\nWhite to move: loss in 2 plies\nh8-g7 loses in 2 plies\n")
run_cli(NAME egdb-no-table EXIT 0 ARGS egdb STDOUT "^no table for this material\n$")
run_cli(NAME egdb-bad EXIT 2 ARGS egdb "W:W33:B1" STDERR "off the board")
# The static evaluation: level material at the start, a man up below.
run_cli(NAME eval-start EXIT 0 ARGS eval
        STDOUT "^Eval stat blancs: +-?[0-9]+\nEval stat noirs: +-?[0-9]+\nphase 0 \\(opening\\)"
               "  material +0\n" "  total +-?[0-9]+\n")
run_cli(NAME eval-man-up EXIT 0 ARGS eval "W:W6,27,31:B12,20"
        STDOUT "Eval stat blancs: +[1-9][0-9]+\n" "phase 3 \\(endgame\\)" "  material +200\n" "  material +-200\n")
run_cli(NAME eval-missing-params EXIT 0 ARGS eval --params /nonexistent/x.par
        STDOUT "  positional +0\n" STDERR "Erreur: Impossible d'ouvrir ce fichier")
run_cli(NAME eval-bad-fen EXIT 2 ARGS eval "W:W33:B1" STDERR "off the board")
