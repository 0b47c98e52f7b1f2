# Writes the page's service worker into the built page's folder, its cache
# named after the program and the digest of the files it keeps, so that each
# build with a change in any of them gets a cache of its own.
#   cmake -DFOLDER=<built page> -DTEMPLATE=<worker.js> -DNAME=<program>
#         -DFILES=<file>,<file>,... -P stamp_worker.cmake
string(REPLACE "," ";" files "${FILES}")
set(digests "")
set(PAGE_FILES "")
foreach(file ${files})
    file(SHA256 ${FOLDER}/${file} digest)
    string(APPEND digests ${digest})
    list(APPEND PAGE_FILES "'${file}'")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 ZANDREL_PAGE_VERSION)
string(REPLACE ";" ", " PAGE_FILES "${PAGE_FILES}")
set(PAGE_NAME ${NAME})
configure_file(${TEMPLATE} ${FOLDER}/worker.js @ONLY)
