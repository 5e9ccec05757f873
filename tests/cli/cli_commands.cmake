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
run_cli(NAME trailing-comma EXIT 2 ARGS moves "W:W1,:B3" STDERR "empty entry")
run_cli(NAME double-comma EXIT 2 ARGS show "W:W1,,2:B3" STDERR "empty entry")
run_cli(NAME huge-square EXIT 2 ARGS show "W:W9999999999:B1" STDERR "not a square")
run_cli(NAME counters EXIT 0 ARGS show "W:W21:B1:H0:F1" STDOUT "W:W21:B1\n$")
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
# A parameter file named with --params that cannot be used: named, nothing
# evaluated or played, exit code 2 (the default file, when missing, leaves
# zeros).
set(params_dir "${CMAKE_CURRENT_BINARY_DIR}/cli_params")
file(REMOVE_RECURSE "${params_dir}")
file(MAKE_DIRECTORY "${params_dir}/folder.par")
file(WRITE "${params_dir}/short.par" "0123456789")
foreach(command IN ITEMS eval match)
    run_cli(NAME ${command}-missing-params EXIT 2 ARGS ${command} --params /nonexistent/x.par
            STDERR "parameter file /nonexistent/x.par: no such file")
    run_cli(NAME ${command}-short-params EXIT 2 ARGS ${command} --params "${params_dir}/short.par"
            STDERR "short.par: has 10 bytes, a parameter file has 1162")
    run_cli(NAME ${command}-folder-params EXIT 2 ARGS ${command} --params "${params_dir}/folder.par"
            STDERR "folder.par: is a folder")
endforeach()
run_cli(NAME match-short-params2 EXIT 2 ARGS match --games 2 --params2 "${params_dir}/short.par"
        STDERR "short.par: has 10 bytes")
file(REMOVE_RECURSE "${params_dir}")
run_cli(NAME eval-bad-fen EXIT 2 ARGS eval "W:W33:B1" STDERR "off the board")

# The engine commands. The search's data files may be missing in a bare
# build folder: each is then said once on stderr and the engine still plays.
run_cli(NAME analyse-depth EXIT 0 ARGS analyse --depth 5
        STDOUT "Profondeur :     5 \\| Noeuds : " "\nbestmove [a-h][1-8]-[a-h][1-8]\nscore -?[0-9]+\n$")
run_cli(NAME analyse-forced EXIT 0 ARGS analyse --depth 5 "W:W22,30:B18,1" STDOUT "^bestmove c3xe5 \\[d4\\]\n")
run_cli(NAME analyse-no-move EXIT 0 ARGS analyse "W:W29:B25,22" STDOUT "^bestmove none\n$")
run_cli(NAME analyse-level EXIT 0 ARGS analyse --level 1 "W:W21,22,23:B1,2,3" STDOUT "Profondeur :     3" "bestmove ")
run_cli(NAME analyse-bad-level EXIT 2 ARGS analyse --level 9 STDERR "level number")
run_cli(NAME analyse-bad-depth EXIT 2 ARGS analyse --depth 31 STDERR "from 1 to 30")
run_cli(NAME analyse-bad-time EXIT 2 ARGS analyse --movetime 0 STDERR "seconds")
run_cli(NAME analyse-bad-fen EXIT 2 ARGS analyse "W:W33:B1" STDERR "off the board")
run_cli(NAME bench-shallow EXIT 0 ARGS bench 3
        STDOUT "position  1  nodes " "position 20  nodes " "\ndepth 3\nnodes [0-9]+\nnodes/s [0-9]+\n"
        NOT_STDOUT "signature")
run_cli(NAME bench-bad-depth EXIT 2 ARGS bench x STDERR "depth")
# Search threads: any number the engine has, the bad ones refused by name.
run_cli(NAME analyse-threads EXIT 0 ARGS analyse --threads 2 --depth 5
        STDOUT "Profondeur :     5 \\| Noeuds : " "\nbestmove [a-h][1-8]-[a-h][1-8]\nscore -?[0-9]+\n$")
run_cli(NAME bench-threads EXIT 0 ARGS bench --threads 2 2
        STDOUT "\ndepth 2\nnodes [0-9]+\nthreads 2: the node count varies from run to run and is no signature\n")
foreach(bad IN ITEMS 0 9 two -1 2x)
    foreach(command IN ITEMS analyse bench)
        run_cli(NAME ${command}-bad-threads-${bad} EXIT 2 ARGS ${command} --threads "${bad}"
                STDERR "--threads takes a number from 1 to 8, not \"${bad}\"")
    endforeach()
endforeach()
run_cli(NAME bench-threads-missing EXIT 2 ARGS bench --threads STDERR "--threads takes a number from 1 to 8, and none")
run_cli(NAME help-threads EXIT 0 ARGS help STDOUT "cli analyse [^\n]* .--threads N. .FEN.\n" "cli bench .--threads N. .DEPTH.\n")
run_cli(NAME match-short EXIT 0 ARGS match --games 2 --depth 2
        STDOUT "game   1 " "game   2 " "games 2: wins [0-9], draws [0-9], losses [0-9]" "elo ")
run_cli(NAME match-material-only EXIT 0 ARGS match --games 2 --depth 2 --material2
        STDOUT "games 2: wins [0-9], draws [0-9], losses [0-9]")
run_cli(NAME match-bad-option EXIT 2 ARGS match --rounds 3 STDERR "unknown match option")

# The hub protocol: a session piped in whole. Lines that come during a
# search wait for its end; "quit" ends the last one with its move so far.
set(script "${CMAKE_CURRENT_BINARY_DIR}/hub_session.txt")
if(NOT CMAKE_CURRENT_BINARY_DIR)
    get_filename_component(script "${CLI}" DIRECTORY)
    set(script "${script}/hub_session.txt")
endif()
file(WRITE "${script}" "hub\ninit\nfrobnicate\nset-param name=threads value=9\nset-param name=colour value=1\npos pos=Wbbbbbbbbbbbbeeeeeeeewwwwwwwwwwww moves=\"22-18 11-15\"\nlevel depth=4\ngo think\npos pos=Wbbbb\npos pos=Wbbbbbbbbbbbbeeeeeeeewwwwwwwwwwww moves=\"22-19\"\nlevel depth=99\nlevel speed=3\ngo think=1\nlevel depth=\"4\nnew-game\nset-param name=threads value=2\npos pos=Bbbbbbbbbbbbbeeeeeeeewwwwwwwwwwww\nlevel depth=3\ngo think\nquit\n")
execute_process(COMMAND ${CLI} hub INPUT_FILE "${script}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(expected
    "^id name=Tavolex version=[0-9.]+ author=Tavolex country=Brazil\nparam name=threads value=1 type=int min=1 max=8\nwait\nready\n"
    "error message=\"unknown command: frobnicate\"\n"
    "error message=\"threads takes a number from 1 to 8: set-param name=threads value=9\"\n"
    "\ndone move=18x11x15\nerror message=\"malformed position: pos pos=Wbbbb\"\nerror message=\"illegal move: 22-19\"\n"
    "error message=\"level: depth takes a number from 1 to 30: level depth=99\"\n"
    "error message=\"go takes one of think, ponder and analyze, without a value: go think=1\"\n"
    "error message=\"malformed line \\(the value of depth lacks its closing quote\\): level depth='4\"\n"
    "\ndone move=[0-9]+[-x][0-9x]+( ponder=[0-9x-]+)?\n$")
foreach(pattern IN LISTS expected)
    if(NOT out MATCHES "${pattern}")
        message(SEND_ERROR "hub-session: stdout lacks '${pattern}'\nstdout:\n${out}\nstderr:\n${err}")
    endif()
endforeach()
if(NOT rc EQUAL 0)
    message(SEND_ERROR "hub-session: exit code ${rc}")
endif()

# Our engine against another behind the protocol: against a copy of itself
# at the same depth it plays the very games it plays in this process.
run_cli(NAME match-in-process EXIT 0 ARGS match --games 4 --depth 3)
execute_process(COMMAND ${CLI} match --games 4 --depth 3 OUTPUT_VARIABLE inside RESULT_VARIABLE rc1)
execute_process(COMMAND ${CLI} match --games 4 --depth 3 --opponent "${CLI} hub"
                OUTPUT_VARIABLE through ERROR_VARIABLE through_err RESULT_VARIABLE rc2)
string(REGEX MATCHALL "game +[0-9]+ [^\n]*" inside_games "${inside}")
string(REGEX MATCHALL "game +[0-9]+ [^\n]*" through_games "${through}")
list(LENGTH through_games n_through)
if(NOT rc1 EQUAL 0 OR NOT rc2 EQUAL 0 OR NOT n_through EQUAL 4 OR NOT inside_games STREQUAL through_games
   OR NOT through MATCHES "^opponent Tavolex [0-9.]+\n" OR NOT through MATCHES "\ngames 4: wins [0-9]")
    message(SEND_ERROR "match-opponent: the games differ\nin process:\n${inside}\nthrough the protocol:\n${through}\n${through_err}")
endif()
run_cli(NAME match-opponent-missing EXIT 1 ARGS match --games 2 --depth 2 --opponent "/nonexistent/engine hub"
        STDERR "did not answer")
run_cli(NAME match-opponent-level EXIT 2 ARGS match --games 2 --level 3 --opponent "x" STDERR "--opponent plays at")
run_cli(NAME match-opponent-params2 EXIT 2 ARGS match --games 2 --params2 b.par --opponent "x" STDERR "--opponent")
