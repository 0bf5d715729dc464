# cmake -DPAYLOAD_DIR=... -DLISTING=... -P PayloadListing.cmake
# Writes one line per payload file (relative name, SHA-256 of its content)
# to LISTING, touching LISTING only when the text changes, so the package is
# rebuilt exactly when a payload file was added, removed or changed.
set(text "payload ${PAYLOAD_DIR}\n")
if(IS_DIRECTORY ${PAYLOAD_DIR})
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${PAYLOAD_DIR} ${PAYLOAD_DIR}/*)
  list(SORT files)
  foreach(name IN LISTS files)
    file(SHA256 ${PAYLOAD_DIR}/${name} hash)
    string(APPEND text "${hash} ${name}\n")
  endforeach()
else()
  string(APPEND text "missing\n")
endif()
file(WRITE ${LISTING}.new "${text}")
file(COPY_FILE ${LISTING}.new ${LISTING} ONLY_IF_DIFFERENT)
file(REMOVE ${LISTING}.new)
