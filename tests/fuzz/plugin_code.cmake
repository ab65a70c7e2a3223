# rp_link_roomplate(target): builds the plug-in's own code into `target`, the
# exported entry with the engine and whatever else the plug-in file links, so
# that a test meets the instance a host gets without loading the library
# (and a fuzzer sees its coverage).
function(rp_link_roomplate target)
  target_link_libraries(${target} PRIVATE rp_vst2 rp_resources)
endfunction()
