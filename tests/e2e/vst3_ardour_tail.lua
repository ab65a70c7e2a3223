-- Ardour headless (ardour7-lua): a session with one stereo track whose
-- processors are a short noise burst (ardour_test_burst.lua) and Roomplate as
-- a VST 3 plug-in; exports 3 s from the start, so that the file holds the
-- burst and then the reverb's tail. Paths come from the environment:
-- RP_SESSION_DIR (a new folder), RP_EXPORT_DIR.
local session_dir = assert(os.getenv("RP_SESSION_DIR"))
local export_dir = assert(os.getenv("RP_EXPORT_DIR"))
local rate = 48000

assert(AudioEngine:set_backend("None (Dummy)", "", ""), "no dummy audio backend")
local s = assert(create_session(session_dir, "vst3-tail", rate), "no session")

local scanned = false
for info in ARDOUR.LuaAPI.list_plugins():iter() do
	if info.name == "Roomplate" and info.type == ARDOUR.PluginType.VST3 then scanned = true end
end
assert(scanned, "Ardour's VST 3 scan did not list Roomplate")

local track = s:new_audio_track(2, 2, nil, 1, "Reverb", ARDOUR.PresentationInfo.max_order,
	ARDOUR.TrackMode.Normal, true):front()
local burst = ARDOUR.LuaAPI.new_luaproc(s, "Roomplate test burst")
assert(not burst:isnil(), "the burst DSP did not load")
assert(track:add_processor_by_index(burst, 0, nil, true) == 0)
local reverb = ARDOUR.LuaAPI.new_plugin(s, "Roomplate", ARDOUR.PluginType.VST3, "")
assert(not reverb:isnil(), "Ardour could not instantiate Roomplate")
assert(track:add_processor_by_index(reverb, 1, nil, true) == 0)
print("loaded: " .. reverb:display_name())

local export = s:simple_export()
export:set_name("tail")
export:set_folder(export_dir)
export:set_range(0, 3 * rate)
assert(export:set_preset("75969a1c-3133-4694-864b-a1fa50e43348"), "no WAV export preset")
assert(export:run_export(), "the export failed")
print("exported")
close_session()
