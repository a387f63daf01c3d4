# torvix_add_module(TARGET OUTPUT_NAME name SOURCES... LIBS...): a VST 2.4 plug-in
# module. It holds the exported entry point (VSTPluginMain, and the same
# function as main) and whatever supplies createEffectInstance. Nothing else is
# exported: the definition file on Windows, the version script elsewhere.
function(torvix_add_module target)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${target} MODULE ${ARG_SOURCES} $<TARGET_OBJECTS:torvix_entry>)
  target_link_libraries(${target} PRIVATE torvix_frame ${ARG_LIBS})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME "${ARG_OUTPUT_NAME}"
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(WIN32)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/frame/VstPluginMain.def)
  else()
    set(exports ${PROJECT_SOURCE_DIR}/src/frame/VstPluginMain.map)
    # main is a second name of the entry point, given by the linker so that
    # test executables, which link the entry too, keep their own main.
    target_link_options(${target} PRIVATE -Wl,--defsym=main=VSTPluginMain -Wl,--version-script=${exports})
    # Every reference is resolved inside the module, except under clang's
    # sanitizers: clang leaves their runtimes out of shared objects, and the
    # sanitized host executable supplies them.
    if(NOT (TORVIX_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang"))
      target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${exports})
  endif()
  torvix_warnings(${target})
endfunction()
