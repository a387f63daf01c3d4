# cmake -DNM=nm -DMODULE=path -P Lv2ModuleExports.cmake: fails unless the LV2
# DSP module exports exactly lv2_descriptor. Any other exported symbol could
# clash with one of another module in the same host, the VST module's above all.
execute_process(COMMAND ${NM} -D --defined-only --format=posix ${MODULE}
                OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} could not read ${MODULE}")
endif()
string(STRIP "${listing}" listing)
string(REGEX REPLACE " [^\n]*" "" names "${listing}")
string(REPLACE "\n" ";" names "${names}")
if(NOT names STREQUAL "lv2_descriptor")
  message(FATAL_ERROR "${MODULE} exports more than lv2_descriptor: ${names}")
endif()
