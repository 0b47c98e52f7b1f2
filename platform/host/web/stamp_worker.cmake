# Writes the page's service worker into the built page's folder, its cache
# named after the digest of the files it keeps, so that each build with a
# change in any of them gets a cache of its own.
#   cmake -DFOLDER=<built page> -DTEMPLATE=<worker.js> -P stamp_worker.cmake
set(digests "")
foreach(file zandrel.html zandrel.js zandrel.wasm page.js page.css manifest.webmanifest
             icon-192.png icon-512.png)
    file(SHA256 ${FOLDER}/${file} digest)
    string(APPEND digests ${digest})
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 ZANDREL_PAGE_VERSION)
configure_file(${TEMPLATE} ${FOLDER}/worker.js @ONLY)
