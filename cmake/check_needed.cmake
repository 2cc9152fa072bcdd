# cmake -DREADELF=... -DPROGRAM=... -P check_needed.cmake: fails unless the
# router program PROGRAM needs at run time only the C library (libc.so.6,
# uClibc-ng's libc.so.0, musl's libc.so) and the store's libnvram.so: what
# libstdc++ and libgcc code a program uses is linked into it.
execute_process(COMMAND ${READELF} -d ${PROGRAM} OUTPUT_VARIABLE dynamic RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${READELF} -d ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^[]*\\[[^]]*\\]" entries "${dynamic}")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE ".*\\[(.*)\\]" "\\1" library "${entry}")
  if(NOT library MATCHES "^(libc\\.so(\\.[06])?|libnvram\\.so)$")
    message(FATAL_ERROR "${PROGRAM} needs ${library} at run time; only the C library and "
                        "libnvram.so may be")
  endif()
endforeach()
