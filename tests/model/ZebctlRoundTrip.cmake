# Runs zebctl dump and build on settings files and checks that the round trip is exact and that
# bad input is refused with exit code 2 and no output file.
#   -DZEBCTL=<zebctl> -DINPUT=<file.zms> -DVARIED=<file.json> -DWORK=<scratch folder>

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run_zebctl expected_rc)
    execute_process(COMMAND ${ZEBCTL} ${ARGN} RESULT_VARIABLE rc
                    OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL expected_rc)
        message(FATAL_ERROR "zebctl ${ARGN}: exit ${rc}, expected ${expected_rc}\n${err}")
    endif()
    set(last_out "${out}" PARENT_SCOPE)
    set(last_err "${err}" PARENT_SCOPE)
endfunction()

function(expect_same a b)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a} ${b} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${a} and ${b} differ")
    endif()
endfunction()

# A file this program wrote: dump -> build gives the same bytes.
run_zebctl(0 dump ${INPUT})
file(WRITE ${WORK}/new.json "${last_out}")
run_zebctl(0 build ${WORK}/new.json ${WORK}/new.zms)
expect_same(${INPUT} ${WORK}/new.zms)

# A file with non-default fields everywhere, built from JSON, survives dump -> build.
run_zebctl(0 build ${VARIED} ${WORK}/varied1.zms)
run_zebctl(0 dump ${WORK}/varied1.zms)
file(WRITE ${WORK}/varied.json "${last_out}")
if(NOT last_out MATCHES "4294967295")
    message(FATAL_ERROR "unsigned field not printed as an unsigned number:\n${last_out}")
endif()
run_zebctl(0 build ${WORK}/varied.json ${WORK}/varied2.zms)
expect_same(${WORK}/varied1.zms ${WORK}/varied2.zms)

# The file is refused for another machine type, with the instrument's message.
run_zebctl(2 dump ${INPUT} --machine 4)
if(NOT last_err MATCHES "This data is for a type different from the connected machine.")
    message(FATAL_ERROR "unexpected message: ${last_err}")
endif()
run_zebctl(0 dump ${INPUT} --machine 5 --hw 1)

# Bad JSON: exit 2, a message naming the field, no output file.
file(WRITE ${WORK}/bad.json "{\"record\": {\"m_valVolt\": {\"m_abUse\": [1, 2]}}}")
run_zebctl(2 build ${WORK}/bad.json ${WORK}/bad.zms)
if(NOT last_err MATCHES "m_abUse")
    message(FATAL_ERROR "message does not name the field: ${last_err}")
endif()
if(EXISTS ${WORK}/bad.zms)
    message(FATAL_ERROR "a refused build left an output file behind")
endif()
file(WRITE ${WORK}/broken.json "{\"record\": ")
run_zebctl(2 build ${WORK}/broken.json ${WORK}/broken.zms)
if(EXISTS ${WORK}/broken.zms)
    message(FATAL_ERROR "a refused build left an output file behind")
endif()
run_zebctl(2 dump ${WORK}/does-not-exist.zms)
