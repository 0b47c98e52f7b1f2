# A program on a page, for zandrel_add_program with the web toolchain. The
# page's files land beside the program's .js and .wasm, in the program's
# output folder (CMAKE_RUNTIME_OUTPUT_DIRECTORY, else the current build
# folder): NAME.html, and index.html so that the folder's own address opens
# it; page.js and page.css; the icons and the web app manifest; and the
# service worker, written after each link with its cache named after the
# files it keeps.
include_guard(GLOBAL)

# Text for the page's HTML, in its text and its attributes alike.
function(_zandrel_html_text text out)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    string(REPLACE "\"" "&quot;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Text as a JSON string's contents.
function(_zandrel_json_text text out)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The manifest's icon entries and the icon files the page uses: the
# program's PNG as icon.png, or the runtime's own two icons.
function(_zandrel_web_icons icon out_entries out_files)
    set(entry "    { \"src\": \"@src@\", \"sizes\": \"@size@\", \"type\": \"image/png\" }")
    if(icon MATCHES "\\.[pP][nN][gG]$")
        _zandrel_png_size(${icon} png)
        string(REPLACE "@src@" "icon.png" entry "${entry}")
        string(REPLACE "@size@" "${png_WIDTH}x${png_HEIGHT}" entries "${entry}")
        set(files icon.png)
    else()
        set(entries "")
        foreach(size 192 512)
            string(REPLACE "@src@" "icon-${size}.png" line "${entry}")
            string(REPLACE "@size@" "${size}x${size}" line "${line}")
            list(APPEND entries "${line}")
        endforeach()
        list(JOIN entries ",\n" entries)
        set(files icon-192.png icon-512.png)
    endif()
    set(${out_entries} "${entries}" PARENT_SCOPE)
    set(${out_files} ${files} PARENT_SCOPE)
endfunction()

function(_zandrel_web_program name sources icon title description)
    set(here ${ZANDREL_WEB_PAGE_DIR})
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE Zandrel::runtime Zandrel::layer_web)
    set_target_properties(${name} PROPERTIES ZANDREL_HOST Zandrel::host_web)
    set_target_properties(${name} PROPERTIES SUFFIX ".js")
    get_target_property(folder ${name} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT folder)
        set(folder ${CMAKE_CURRENT_BINARY_DIR})
    endif()

    # The page and the manifest, filled in now.
    set(PAGE_NAME ${name})
    _zandrel_web_icons("${icon}" PAGE_ICONS icons)
    list(GET icons 0 PAGE_ICON)
    _zandrel_html_text("${title}" PAGE_TITLE)
    configure_file(${here}/page.html ${folder}/${name}.html @ONLY)
    configure_file(${here}/page.html ${folder}/index.html @ONLY)
    _zandrel_json_text("${title}" PAGE_TITLE)
    _zandrel_json_text("${description}" PAGE_DESCRIPTION)
    configure_file(${here}/manifest.webmanifest ${folder}/manifest.webmanifest @ONLY)

    # The page's script, style and icons, copied at build time.
    set(copies page.js page.css)
    list(TRANSFORM copies PREPEND ${here}/ OUTPUT_VARIABLE sources)
    if(icons STREQUAL "icon.png")
        set(copy_icons COMMAND ${CMAKE_COMMAND} -E copy ${icon} ${folder}/icon.png)
        list(APPEND sources ${icon})
    else()
        set(copy_icons COMMAND ${CMAKE_COMMAND} -E copy ${here}/icon-192.png ${here}/icon-512.png
                               ${folder})
        list(APPEND sources ${here}/icon-192.png ${here}/icon-512.png)
    endif()
    list(APPEND copies ${icons})
    list(TRANSFORM copies PREPEND ${folder}/ OUTPUT_VARIABLE outputs)
    add_custom_command(OUTPUT ${outputs}
        COMMAND ${CMAKE_COMMAND} -E copy ${here}/page.js ${here}/page.css ${folder}
        ${copy_icons}
        DEPENDS ${sources})
    add_custom_target(${name}-page DEPENDS ${outputs})
    add_dependencies(${name} ${name}-page)

    # The program is linked again when a page file changes, so that the
    # worker is written again after any change to what it keeps.
    set(kept ${name}.html ${name}.js ${name}.wasm page.js page.css manifest.webmanifest ${icons})
    list(JOIN kept "," kept)
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS
        ${sources} ${here}/page.html ${here}/manifest.webmanifest ${here}/worker.js
        ${here}/stamp_worker.cmake ${here}/web_host.js ${here}/never_wait.json)
    add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DTEMPLATE=${here}/worker.js
                -DNAME=${name} -DFILES=${kept} -P ${here}/stamp_worker.cmake)
endfunction()
