# A Windows program, for zandrel_add_program with a MinGW-w64 toolchain:
# NAME.exe in the WIN32 subsystem, with its icon as resource 101 (the class
# icon the runtime's windows load), a version resource and a manifest, from
# the templates in ZANDREL_WINDOWS_TEMPLATE_DIR.
include_guard(GLOBAL)

# Text as a string of a resource script: quotes doubled.
function(_zandrel_rc_text text out)
    string(REPLACE "\"" "\"\"" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The resource script of the icon. An .ico file is named as it is. A PNG
# goes in as it is too, without any tool of the build machine: one image
# (RT_ICON, type 3) holding the PNG's bytes, which Windows reads since
# Vista, and the group (RT_GROUP_ICON, type 14) that describes it: reserved,
# type 1, one entry; width and height (a byte each, 0 for 256), no palette,
# one plane, 32 bits, the image's size in bytes, its id.
function(_zandrel_icon_script icon script)
    if(icon MATCHES "\\.[pP][nN][gG]$")
        _zandrel_png_size(${icon} png)
        math(EXPR width "${png_WIDTH} % 256")
        math(EXPR height "${png_HEIGHT} % 256")
        math(EXPR size_word "${width} + ${height} * 256")
        file(SIZE ${icon} bytes)
        string(CONCAT text "101 3 \"${icon}\"\n101 14\nBEGIN\n    0, 1, 1,\n"
                 "    ${size_word}, 0, 1, 32, ${bytes}L, 101\nEND\n")
    else()
        set(text "101 ICON \"${icon}\"\n")
    endif()
    file(CONFIGURE OUTPUT ${script} CONTENT "${text}" @ONLY)
endfunction()

function(_zandrel_windows_program name sources icon title description copyright)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/${name}_resources)
    set(version ${PROJECT_VERSION})
    if(NOT version MATCHES "^[0-9]+(\\.[0-9]+)*$")
        set(version 0)
    endif()
    string(REPLACE "." ";" parts "${version}.0.0.0")
    list(SUBLIST parts 0 4 parts)
    list(JOIN parts "," PROGRAM_VERSION_COMMAS)
    list(JOIN parts "." PROGRAM_VERSION_DOTS)
    set(PROGRAM_VERSION ${version})
    set(PROGRAM_VERSION_TEXT ${version})
    if(ZANDREL_PROGRAM_VERSION_TEXT)
        set(PROGRAM_VERSION_TEXT "${ZANDREL_PROGRAM_VERSION_TEXT}")
    endif()
    set(PROGRAM_NAME ${name})
    set(PROGRAM_MANIFEST ${folder}/${name}.manifest)
    foreach(field title description copyright)
        string(TOUPPER ${field} upper)
        _zandrel_rc_text("${${field}}" PROGRAM_${upper})
    endforeach()
    _zandrel_rc_text("${ZANDREL_PROGRAM_COMPANY}" PROGRAM_COMPANY)
    _zandrel_rc_text("${PROGRAM_VERSION_TEXT}" PROGRAM_VERSION_TEXT)
    configure_file(${ZANDREL_WINDOWS_TEMPLATE_DIR}/version.rc.in ${folder}/version.rc @ONLY)
    # The manifest is XML: its description has the XML escapes.
    string(REPLACE "&" "&amp;" PROGRAM_DESCRIPTION "${description}")
    string(REPLACE "<" "&lt;" PROGRAM_DESCRIPTION "${PROGRAM_DESCRIPTION}")
    configure_file(${ZANDREL_WINDOWS_TEMPLATE_DIR}/program.manifest.in ${PROGRAM_MANIFEST} @ONLY)
    set(resources ${folder}/version.rc)
    set_source_files_properties(${folder}/version.rc PROPERTIES OBJECT_DEPENDS ${PROGRAM_MANIFEST})
    if(icon)
        _zandrel_icon_script(${icon} ${folder}/icon.rc)
        set_source_files_properties(${folder}/icon.rc PROPERTIES OBJECT_DEPENDS ${icon})
        list(APPEND resources ${folder}/icon.rc)
    endif()
    add_executable(${name} WIN32 ${sources} ${resources})
    target_link_libraries(${name} PRIVATE Zandrel::runtime)
endfunction()
