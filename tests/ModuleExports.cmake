# cmake -DNM=nm -DMODULE=path -DEXPORTS=a,b -P ModuleExports.cmake: fails
# unless the module exports exactly the entry points EXPORTS (sorted), all of
# them at one address: the VST module's VSTPluginMain and its second name
# main, an LV2 module's descriptor function. Any other exported symbol could
# clash with a symbol of another module that the same host has loaded.
string(REPLACE "," ";" expected "${EXPORTS}")
execute_process(COMMAND ${NM} -D --defined-only --format=posix ${MODULE}
                OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} could not read ${MODULE}")
endif()
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" lines "${listing}")
set(names "")
set(addresses "")
foreach(line IN LISTS lines)
  string(REPLACE " " ";" fields "${line}")
  list(GET fields 0 name)
  list(GET fields 2 address)
  list(APPEND names ${name})
  list(APPEND addresses ${address})
endforeach()
list(SORT names)
list(REMOVE_DUPLICATES addresses)
list(LENGTH names count)
if(NOT names STREQUAL "${expected}")
  message(FATAL_ERROR "${MODULE} exports ${count} symbols, not just ${EXPORTS}: ${names}")
endif()
list(LENGTH addresses distinct)
if(NOT distinct EQUAL 1)
  message(FATAL_ERROR "the entry points ${EXPORTS} are different functions in ${MODULE}")
endif()

# With -DREADELF=readelf, also fails where the module holds thread-local storage: a host that
# unloads the module leaves that storage behind in every thread that touched it (and the leak
# checker's thread walk trips over it).
if(READELF)
  execute_process(COMMAND ${READELF} -lW ${MODULE} OUTPUT_VARIABLE segments RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${READELF} could not read ${MODULE}")
  endif()
  if(segments MATCHES "\n +TLS ")
    message(FATAL_ERROR "${MODULE} holds thread-local storage")
  endif()
endif()
