# zandrel_add_program(NAME SOURCES... [ICON file] [TITLE "..."]
#                     [DESCRIPTION "..."] [COPYRIGHT "..."])
#
# Builds a program of the runtime from its sources, as the platform the
# build is for has it:
#   Linux      NAME, in real windows over the SDL host, and NAME-headless over
#              the headless host, for scripts and captures;
#   the web    NAME.js and NAME.wasm with the page NAME.html (also as
#              index.html), its script and style, icons, web app manifest
#              and service worker;
#   Windows    NAME.exe (WIN32 subsystem) with the icon as resource 101, a
#              version resource and a manifest.
# ICON is a PNG of at most 256 by 256 pixels, the exe's icon and the page's;
# an .ico file is taken as it is for the exe, and the page keeps the
# runtime's own icons. Linux programs register their icon themselves. TITLE
# names the program to people (the page's title, the version resource's product name);
# it defaults to NAME. DESCRIPTION (default: TITLE) and COPYRIGHT go into the
# version resource and the manifests. The version is the calling project's;
# ZANDREL_PROGRAM_VERSION_TEXT and ZANDREL_PROGRAM_COMPANY, when set, are the
# version resource's product version and company.
#
# Used in Zandrel's own tree and from the installed package alike: the
# libraries are named Zandrel::NAME in both. ZANDREL_WEB_PAGE_DIR and
# ZANDREL_WINDOWS_TEMPLATE_DIR name the page's files and the resource
# templates.
include_guard(GLOBAL)

if(WIN32)
    enable_language(RC)
endif()

# The width and height of a PNG file from its header, into <out>_WIDTH and
# <out>_HEIGHT; a file that is not a PNG stops the configuration.
function(_zandrel_png_size file out)
    file(READ ${file} header LIMIT 24 HEX)
    string(LENGTH "${header}" length)
    set(signature "")
    if(length EQUAL 48)
        string(SUBSTRING "${header}" 0 32 signature)
    endif()
    # The PNG signature, then the first chunk: IHDR, 13 bytes long.
    if(NOT signature STREQUAL "89504e470d0a1a0a0000000d49484452")
        message(FATAL_ERROR "zandrel_add_program: the icon ${file} is not a PNG file")
    endif()
    string(SUBSTRING "${header}" 32 8 width)
    string(SUBSTRING "${header}" 40 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(width LESS 1 OR height LESS 1 OR width GREATER 256 OR height GREATER 256)
        message(FATAL_ERROR "zandrel_add_program: the icon ${file} is ${width} by ${height} "
                            "pixels; an icon has 1 to 256 pixels each way")
    endif()
    set(${out}_WIDTH ${width} PARENT_SCOPE)
    set(${out}_HEIGHT ${height} PARENT_SCOPE)
endfunction()

# The icon's absolute path, checked.
function(_zandrel_program_icon icon out)
    get_filename_component(icon ${icon} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    if(NOT EXISTS ${icon} OR IS_DIRECTORY ${icon})
        message(FATAL_ERROR "zandrel_add_program: the icon ${icon} does not exist")
    endif()
    string(TOLOWER "${icon}" lower)
    if(lower MATCHES "\\.png$")
        _zandrel_png_size(${icon} png)
    elseif(NOT lower MATCHES "\\.ico$")
        message(FATAL_ERROR "zandrel_add_program: the icon ${icon} is neither .png nor .ico")
    endif()
    set(${out} ${icon} PARENT_SCOPE)
endfunction()

# A program over one of the layer's hosts. The layer calls the host, so the
# host goes on the link line after the layer, wherever libraries that the
# program links later put the layer (the property is read there).
function(_zandrel_program_on name sources host)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE Zandrel::runtime Zandrel::layer_${host})
    set_target_properties(${name} PROPERTIES ZANDREL_HOST Zandrel::host_${host})
endfunction()

function(zandrel_add_program name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "ICON;TITLE;DESCRIPTION;COPYRIGHT" "")
    set(sources ${arg_UNPARSED_ARGUMENTS})
    if(NOT name MATCHES "^[A-Za-z0-9_][A-Za-z0-9_.+-]*$")
        message(FATAL_ERROR "zandrel_add_program: \"${name}\" is not a program name")
    endif()
    if(NOT sources)
        message(FATAL_ERROR "zandrel_add_program(${name}): no sources")
    endif()
    if(arg_KEYWORDS_MISSING_VALUES)
        message(FATAL_ERROR "zandrel_add_program(${name}): ${arg_KEYWORDS_MISSING_VALUES} "
                            "needs a value")
    endif()
    foreach(text TITLE DESCRIPTION COPYRIGHT)
        if(arg_${text} MATCHES "[\n\r\t]")
            message(FATAL_ERROR "zandrel_add_program(${name}): ${text} is one line of text")
        endif()
    endforeach()
    if(NOT arg_TITLE)
        set(arg_TITLE ${name})
    endif()
    if(NOT arg_DESCRIPTION)
        set(arg_DESCRIPTION "${arg_TITLE}")
    endif()
    set(icon "")
    if(arg_ICON)
        _zandrel_program_icon(${arg_ICON} icon)
    endif()
    if(WIN32)
        _zandrel_windows_program(${name} "${sources}" "${icon}" "${arg_TITLE}"
                                 "${arg_DESCRIPTION}" "${arg_COPYRIGHT}")
    elseif(EMSCRIPTEN)
        _zandrel_web_program(${name} "${sources}" "${icon}" "${arg_TITLE}" "${arg_DESCRIPTION}")
    else()
        _zandrel_program_on(${name} "${sources}" sdl)
        _zandrel_program_on(${name}-headless "${sources}" headless)
    endif()
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/ZandrelProgramWeb.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/ZandrelProgramWindows.cmake)
