# cmake -DOUT=FILE -P checksums.cmake NAME... - writes the SHA-256 checksum of
# each named file to FILE in the form `sha256sum -c FILE` reads.
set(lines "")
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE 4 ${last})
  set(name "${CMAKE_ARGV${i}}")
  file(SHA256 "${name}" hash)
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
file(WRITE "${OUT}" "${lines}")
