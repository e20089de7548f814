# Copies what the installer ships from the staged program folder into PAYLOAD,
# with the debug information stripped: users get programs a tenth of the size,
# and the installer compresses in seconds.
#
#   cmake -DSTAGE=DIR -DPAYLOAD=DIR -DSTRIP=x86_64-w64-mingw32-strip -DSTAMP=FILE -P payload.cmake
#
# devio.dll of the stage is the virtual mouse; it ships as devio-sim.dll here so
# the installer script can name both libraries plainly.
foreach(var STAGE PAYLOAD STRIP STAMP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "payload.cmake: ${var} is not set")
  endif()
endforeach()

set(programs Monitor.exe Option.exe uistr.dll gmconfig.exe mousesim.exe devio-hid.dll)
file(REMOVE_RECURSE ${PAYLOAD})
file(MAKE_DIRECTORY ${PAYLOAD})

function(ship source name)
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "payload.cmake: ${source} is missing from the staged program folder")
  endif()
  execute_process(COMMAND ${STRIP} --strip-all -o ${PAYLOAD}/${name} ${source} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "payload.cmake: cannot strip ${source}")
  endif()
endfunction()

foreach(program ${programs})
  ship(${STAGE}/${program} ${program})
endforeach()
ship(${STAGE}/devio.dll devio-sim.dll)

file(GLOB skins ${STAGE}/skins/*)
if(NOT skins)
  message(FATAL_ERROR "payload.cmake: the staged skins folder is empty")
endif()
file(COPY ${STAGE}/skins DESTINATION ${PAYLOAD})
file(TOUCH ${STAMP})
