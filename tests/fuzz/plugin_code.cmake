# rp_link_roomplate(target): builds the plug-in's own code into `target`, the
# exported entry with the engine and whatever else the plug-in file links, so
# that a test meets the instance a host gets without loading the library
# (and a fuzzer sees its coverage).
function(rp_link_roomplate target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/plugin/roomplate_entry.cpp)
  target_link_libraries(${target} PRIVATE rp_reverb rp_frame)
  foreach(lib rp_editor rp_gui rp_resources rp_platform)
    if(TARGET ${lib})
      target_link_libraries(${target} PRIVATE ${lib})
    endif()
  endforeach()
endfunction()
