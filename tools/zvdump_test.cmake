# Test of zvdump, run by CTest as a CMake script: every sample circuit opens and prints the JSON
# of its golden file (tests/data/zvdump/<sample>.json; ZORV_UPDATE_GOLDEN=1 rewrites them), the
# JSON holds together, a save through the tool opens to the same JSON, a bare DXF drawing is
# described as the circuit carrying it describes it, and failures (a save without a usable name,
# a drawing too large to be read, a save into a pipe among them) give their exit status, and a
# save through the standard output lands in the file it is sent to.
# Expects ZVDUMP, SAMPLES, GOLDEN and WORK to be defined.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
# Whatever the tool keeps as temporary files goes into the work folder, never into the
# user's own temporary or runtime folder.
set(ENV{TMPDIR} "${WORK}")
set(ENV{XDG_RUNTIME_DIR} "${WORK}")
set(ENV{LC_ALL} "C")

# Runs zvdump with the arguments; sets rc, out and err.
function(run_zvdump)
    execute_process(COMMAND "${ZVDUMP}" ${ARGN} RESULT_VARIABLE _rc OUTPUT_VARIABLE _out
                    ERROR_VARIABLE _err)
    set(rc "${_rc}" PARENT_SCOPE)
    set(out "${_out}" PARENT_SCOPE)
    set(err "${_err}" PARENT_SCOPE)
endfunction()

# Fails the test with the message unless the two numbers are equal.
function(expect_equal actual wanted message)
    if(NOT actual EQUAL wanted)
        message(SEND_ERROR "${message}")
    endif()
endfunction()

# Checks that the JSON of a circuit holds together: one start marker first on every track,
# two lanes rows per track, six extent values, no skipped piece.
function(check_circuit_json json name)
    string(JSON result GET "${json}" result)
    string(JSON tracks GET "${json}" tracks)
    string(JSON skipped GET "${json}" skipped)
    string(JSON extent LENGTH "${json}" extent)
    string(JSON lanes LENGTH "${json}" lanes)
    string(JSON items LENGTH "${json}" items)
    expect_equal("${result}" "0" "${name}: result ${result}")
    expect_equal("${skipped}" "0" "${name}: ${skipped} pieces skipped")
    expect_equal("${extent}" "6" "${name}: ${extent} extent values")
    math(EXPR lanesWanted "${tracks} * 2")
    expect_equal("${lanes}" "${lanesWanted}" "${name}: ${lanes} lanes for ${tracks} tracks")
    set(track 0)
    math(EXPR last "${items} - 1")
    foreach(i RANGE ${last})
        string(JSON t GET "${json}" items ${i} track)
        string(JSON key GET "${json}" items ${i} key)
        string(JSON start LENGTH "${json}" items ${i} start)
        expect_equal("${start}" "3" "${name}: item ${i} start has ${start} values")
        if(NOT t EQUAL track)
            math(EXPR next "${track} + 1")
            expect_equal("${t}" "${next}" "${name}: track ${t} follows track ${track}")
            if(NOT key STREQUAL "K0")
                message(SEND_ERROR "${name}: track ${t} begins with ${key}")
            endif()
            set(track ${t})
        endif()
    endforeach()
    expect_equal("${track}" "${tracks}" "${name}: items of ${track} tracks, ${tracks} said")
endfunction()

file(GLOB samples "${SAMPLES}/*.zv6")
list(LENGTH samples sampleCount)
if(sampleCount LESS 2)
    message(SEND_ERROR "only ${sampleCount} sample circuits")
endif()
foreach(sample ${samples})
    get_filename_component(name "${sample}" NAME_WE)
    run_zvdump("${sample}")
    expect_equal("${rc}" "0" "${name}: exit ${rc}: ${err}")
    set(golden "${GOLDEN}/${name}.json")
    if("$ENV{ZORV_UPDATE_GOLDEN}" STREQUAL "1")
        file(WRITE "${golden}" "${out}")
    endif()
    file(READ "${golden}" expected)
    if(NOT out STREQUAL expected)
        file(WRITE "${golden}.actual" "${out}")
        message(SEND_ERROR "${name}: the JSON differs from ${golden}")
    endif()
    check_circuit_json("${out}" "${name}")

    run_zvdump(--save "${WORK}/${name}.zv6" "${sample}")
    expect_equal("${rc}" "0" "${name}: save exit ${rc}: ${err}")
    set(first "${out}")
    run_zvdump("${WORK}/${name}.zv6")
    if(NOT out STREQUAL first)
        message(SEND_ERROR "${name}: the saved copy opens differently")
    endif()

    string(JSON dxf TYPE "${first}" dxf)
    if(dxf STREQUAL "OBJECT")
        string(JSON carried GET "${first}" dxf)
        run_zvdump(--dxf "${SAMPLES}/garage.dxf")
        expect_equal("${rc}" "0" "garage.dxf: exit ${rc}: ${err}")
        foreach(part counts layers extent)
            string(JSON a GET "${carried}" ${part})
            string(JSON b GET "${out}" ${part})
            if(NOT a STREQUAL b)
                message(SEND_ERROR "garage.dxf: ${part} ${b}, carried ${a}")
            endif()
        endforeach()
    endif()
endforeach()

# Failures: a missing file, a folder as save target, a data folder without catalogue, usage.
list(GET samples 0 sample)
run_zvdump("${WORK}/missing.zv6")
expect_equal("${rc}" "1" "missing file: exit ${rc}")
if(NOT err MATCHES "missing\\.zv6" OR NOT out STREQUAL "")
    message(SEND_ERROR "missing file: reason '${err}', output '${out}'")
endif()
file(MAKE_DIRECTORY "${WORK}/folder.zv6")
run_zvdump(--save "${WORK}/folder.zv6" "${sample}")
expect_equal("${rc}" "1" "save onto a folder: exit ${rc}")
file(MAKE_DIRECTORY "${WORK}/nodata")
run_zvdump(--data "${WORK}/nodata" "${sample}")
expect_equal("${rc}" "1" "no catalogue: exit ${rc}")
run_zvdump(--dxf "${WORK}/missing.dxf")
expect_equal("${rc}" "1" "missing drawing: exit ${rc}")
run_zvdump(--save)
expect_equal("${rc}" "2" "usage: exit ${rc}")

# A save without a usable name (empty, or a folder's with "/" at its end) is refused and makes
# nothing; a drawing too large to be read fails.
file(MAKE_DIRECTORY "${WORK}/saves")
execute_process(COMMAND "${ZVDUMP}" --save "" "${sample}" RESULT_VARIABLE rc
                WORKING_DIRECTORY "${WORK}/saves" OUTPUT_QUIET ERROR_QUIET)
expect_equal("${rc}" "2" "save under an empty name: exit ${rc}")
run_zvdump(--save "${WORK}/saves/new.zv6/" "${sample}")
expect_equal("${rc}" "2" "save under a name ending in /: exit ${rc}")
file(GLOB made "${WORK}/saves/*")
if(made)
    message(SEND_ERROR "a save without a usable name made ${made}")
endif()
execute_process(COMMAND truncate -s 600M "${WORK}/huge.dxf" RESULT_VARIABLE truncated)
expect_equal("${truncated}" "0" "no drawing of 600 MB could be made")
run_zvdump(--dxf "${WORK}/huge.dxf")
expect_equal("${rc}" "1" "a drawing too large to be read: exit ${rc}")
if(NOT err MATCHES "too large" OR NOT out STREQUAL "")
    message(SEND_ERROR "a drawing too large to be read: reason '${err}', output '${out}'")
endif()
file(REMOVE "${WORK}/huge.dxf")

# A save by a link of the user's own to the standard output (a pipe here) is refused as no file,
# and the link stays.
file(REMOVE "${WORK}/stdout.zv6")
file(CREATE_LINK "/proc/self/fd/1" "${WORK}/stdout.zv6" SYMBOLIC)
run_zvdump(--save "${WORK}/stdout.zv6" "${sample}")
expect_equal("${rc}" "1" "save into the standard output: exit ${rc}")
if(NOT err MATCHES "not a file" OR NOT IS_SYMLINK "${WORK}/stdout.zv6")
    message(SEND_ERROR "save into the standard output: reason '${err}', link kept or not")
endif()

# A save through the standard output into a file of a long path (longer than the 64 bytes the
# system gives as the size of every descriptor's link): the file holds the circuit.
string(REPEAT "d" 200 part)
set(deep "${WORK}/${part}/${part}")
file(MAKE_DIRECTORY "${deep}")
execute_process(COMMAND "${ZVDUMP}" --save /dev/stdout "${sample}" OUTPUT_FILE "${deep}/out.zv6"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
expect_equal("${rc}" "0" "save through the standard output into a long path: exit ${rc}: ${err}")
run_zvdump("${sample}")
set(wanted "${out}")
run_zvdump("${deep}/out.zv6")
if(NOT rc EQUAL 0 OR NOT out STREQUAL wanted)
    message(SEND_ERROR "save through the standard output into a long path: ${err}")
endif()
