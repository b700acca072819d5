# `tovi type` through the real hook path of the virtual desktop: each case is one run of the
# tool, on a desktop of its own (TOVI_DESKTOP). Included from tests/library/CMakeLists.txt.
#
# A case is "ARGS|EXPECTED", ARGS separated by "^". With --codes the expected codes are one line.
set(TOVI_TYPE_CODE_CASES
    # The composer's edge cases
    "k|80 192"
    "ki|81"
    "kA|80 193"
    "ka|80 192"
    "kf|80 239"
    "kfk|80 192 204"
    "kfki|81 204"
    "kff|80 239"
    "kfkf|80 239 204"
    "kfkfy|80 192 204 246 229"
    "kfxO|80 201 235 198 195"
    "kfxu|80 192 235 196"
    "jfzA|101 213 193"
    "kfkY|80 201 204 246 202"
    "kfkR|80 192 204 248"
    "rX|190"
    "rXi|190 194"
    "RX|73 198"
    "kRX|80 192 241"
    "jX|100 251"
    "jXf|101 243 239"
    "jXfk|100 251 204"
    "kfkfy{BS}|80 192 204"
    "{BS}|"
    "--key-engine^ka|80 193"
    "--key-engine^kA|80 192"
    # The hook: Shift composes the capital; the bilingual font type and its joiner; keys that
    # are not letters reach the box as themselves and end the syllable.
    "K|82"
    "--bilingual^kfkfy|145 208 220 255 244"
    "k i|80 192 32 69"
    "ka, 1{TAB}i{ENTER}k|80 192 44 32 49 9 69 13 80 192"
    "kfkfy{BS}{BS}{BS}{BS}|"
)

set(index 0)
foreach(entry ${TOVI_TYPE_CODE_CASES})
  string(FIND "${entry}" "|" bar REVERSE)
  string(SUBSTRING "${entry}" 0 ${bar} args)
  math(EXPR from "${bar} + 1")
  string(SUBSTRING "${entry}" ${from} -1 expected)
  math(EXPR index "${index} + 1")
  set(name "tovi_type.codes.${index}")
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -DTOVI=$<TARGET_FILE:tovi> "-DARGS=--codes^${args}"
                   "-DSTDOUT=${expected}" -DCODES_LINE=1 -DSTATUS=0 -DSTDERR=
                   -P ${CMAKE_CURRENT_LIST_DIR}/check.cmake)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "TOVI_DESKTOP=${TOVI_TEST_DESKTOP}-${name}")
endforeach()

# Without --codes the box's bytes are written as they are ("ASCII" text when the font type is
# monolingual and the keys are not letters).
add_test(NAME tovi_type.raw
         COMMAND ${CMAKE_COMMAND} -DTOVI=$<TARGET_FILE:tovi> "-DARGS=1+2 = 3?" "-DSTDOUT=1+2 = 3?"
                 -DSTATUS=0 -DSTDERR= -P ${CMAKE_CURRENT_LIST_DIR}/check.cmake)
set_tests_properties(tovi_type.raw PROPERTIES ENVIRONMENT "TOVI_DESKTOP=${TOVI_TEST_DESKTOP}-tovi_type.raw")

# Bad arguments: one line on standard error, exit status 2.
set(TOVI_TYPE_BAD_CASES
    "missing|--codes|2|missing KEYS"
    "unknown-option|--fast^k|2|unknown option"
    "two-keys|k^i|2|one KEYS argument"
    "codes-and-unicode|--codes^--unicode^k|2|exclude each other"
    "no-such-key|ké|2|no key"
)
foreach(entry ${TOVI_TYPE_BAD_CASES})
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 what)
  list(GET parts 1 args)
  list(GET parts 2 status)
  list(GET parts 3 message)
  set(name "tovi_type.bad.${what}")
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -DTOVI=$<TARGET_FILE:tovi> "-DARGS=${args}" -DSTDOUT=
                   -DSTATUS=${status} "-DSTDERR=^tovi: type: .*${message}"
                   -P ${CMAKE_CURRENT_LIST_DIR}/check.cmake)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "TOVI_DESKTOP=${TOVI_TEST_DESKTOP}-${name}")
endforeach()

# --unicode prints what the box shows as UTF-8 Kannada: KA with I, and the conjunct KKYA (with
# the bilingual font type too, whose codes name the same glyphs).
foreach(entry "ki|ಕಿ" "kfkfy|ಕ್ಕ್ಯ" "--bilingual^kfkfy|ಕ್ಕ್ಯ")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 args)
  list(GET parts 1 text)
  string(MAKE_C_IDENTIFIER "${args}" id)
  set(name "tovi_type.unicode.${id}")
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -DTOVI=$<TARGET_FILE:tovi> "-DARGS=--unicode^${args}" "-DSTDOUT=${text}"
                   -DCODES_LINE=1 -DSTATUS=0 -DSTDERR= -P ${CMAKE_CURRENT_LIST_DIR}/check.cmake)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "TOVI_DESKTOP=${TOVI_TEST_DESKTOP}-${name}")
endforeach()
