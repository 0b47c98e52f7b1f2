# Each refused call runs in a CMake of its own (a refusal ends the script)
# and must stop with its message; the text rows run here.
#   cmake -DMODULE=... -DDATA=... -DHELLO=... -DWORK=... -P program_checks.cmake
if(DEFINED CALL)
    include(${MODULE})
    cmake_language(EVAL CODE "${CALL}")
    return()
endif()

file(WRITE ${WORK}/text.png "not a picture\n")
file(WRITE ${WORK}/empty.png "")
set(refusals
    "zandrel_add_program(hello)|no sources"
    "zandrel_add_program(\"a b\" a.cpp)|\"a b\" is not a program name"
    "zandrel_add_program(hello a.cpp ICON ${DATA}/missing.png)|missing.png does not exist"
    "zandrel_add_program(hello a.cpp ICON ${DATA})|cmake does not exist"
    "zandrel_add_program(hello a.cpp ICON ${DATA}/CMakeLists.txt)|neither .png nor .ico"
    "zandrel_add_program(hello a.cpp ICON ${WORK}/text.png)|text.png is not a PNG file"
    "zandrel_add_program(hello a.cpp ICON ${WORK}/empty.png)|empty.png is not a PNG file"
    "zandrel_add_program(hello a.cpp ICON ${DATA}/wide.png)|is 257 by 1 pixels"
    "zandrel_add_program(hello a.cpp TITLE)|TITLE needs a value"
    "zandrel_add_program(hello a.cpp TITLE \"two\nlines\")|TITLE is one line of text"
)
set(failures 0)
foreach(row IN LISTS refusals)
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 call)
    list(GET row 1 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} -DMODULE=${MODULE} "-DCALL=${call}"
                            -P ${CMAKE_CURRENT_LIST_FILE}
        RESULT_VARIABLE status ERROR_VARIABLE said OUTPUT_QUIET)
    string(REPLACE "\n" " " said "${said}")
    string(REGEX REPLACE " +" " " said "${said}")
    string(FIND "${said}" "${expected}" at)
    if(status EQUAL 0 OR at EQUAL -1)
        message(SEND_ERROR "${call}: expected a refusal saying \"${expected}\", got "
                           "status ${status}: ${said}")
    endif()
endforeach()

# The text rows: what a function makes of its input, and what it must give.
include(${MODULE})
function(expect what actual expected)
    if(NOT actual STREQUAL expected)
        message(SEND_ERROR "${what}: expected\n${expected}\ngot\n${actual}")
    endif()
endfunction()

_zandrel_rc_text("say \"hi\"" text)
expect("resource script text" "${text}" "say \"\"hi\"\"")
_zandrel_html_text("<a & \"b\">" text)
expect("HTML text" "${text}" "&lt;a &amp; &quot;b&quot;&gt;")
_zandrel_json_text("a\\b\"c" text)
expect("JSON text" "${text}" "a\\\\b\\\"c")

# The icon group names the PNG's width and height in one word (256 as 0)
# and its size in bytes.
foreach(row "${HELLO}/hello.png|8224" "${DATA}/large.png|0")
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 png)
    list(GET row 1 word)
    file(SIZE ${png} bytes)
    _zandrel_icon_script(${png} ${WORK}/icon.rc)
    file(READ ${WORK}/icon.rc text)
    expect("icon script of ${png}" "${text}"
           "101 3 \"${png}\"\n101 14\nBEGIN\n    0, 1, 1,\n    ${word}, 0, 1, 32, ${bytes}L, 101\nEND\n")
endforeach()
_zandrel_icon_script(${DATA}/program.ico ${WORK}/icon.rc)
file(READ ${WORK}/icon.rc text)
expect("icon script of an .ico" "${text}" "101 ICON \"${DATA}/program.ico\"\n")
