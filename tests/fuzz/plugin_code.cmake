# rp_link_roomplate(target): builds the plug-in's own code into `target`, the
# exported entry with the engine and whatever else the plug-in file links, so
# that a test meets the instance a host gets without loading the library
# (and a fuzzer sees its coverage).
function(rp_link_roomplate target)
  target_link_libraries(${target} PRIVATE rp_vst2 rp_resources)
endfunction()

# rp_link_formats(target): the same for the VST 3, CLAP and LV2 bindings: their
# factories, clap_entry and lv2_descriptor are called directly.
function(rp_link_formats target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/lv2/lv2_entry.cpp)
  target_link_libraries(${target} PRIVATE rp_vst3 rp_clap rp_lv2_dsp rp_resources)
endfunction()
