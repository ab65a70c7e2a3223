-- Ardour 7 without its GUI (ardour7-lua): a new session on the dummy
-- backend, one stereo track with a click and Roomplate (found by its LV2
-- URI), exported as a 3 s WAV file. RP_ARDOUR_FOLDER names the folder for
-- the session and the export (tail.wav).
local folder = assert (os.getenv ("RP_ARDOUR_FOLDER"), "RP_ARDOUR_FOLDER is not set")
local rate = 44100
local wav_at_session_rate = "75969a1c-3133-4694-864b-a1fa50e43348"  -- Ardour's "WAV @ session-rate" preset

assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no dummy backend")
local session = assert (create_session (folder .. "/session", "roomplate", rate), "no session")
local track = session:new_audio_track (2, 2, nil, 1, "reverb", ARDOUR.PresentationInfo.max_order,
                                       ARDOUR.TrackMode.Normal, true):front ()

local click = ARDOUR.LuaAPI.new_plugin (session, "Roomplate Test Click", ARDOUR.PluginType.Lua, "")
assert (not click:isnil (), "Ardour did not find the click script")
assert (track:add_processor_by_index (click, 0, nil, true) == 0, "the click was not added")

local reverb = ARDOUR.LuaAPI.new_plugin (session, "urn:roomplate:reverb", ARDOUR.PluginType.LV2, "")
assert (not reverb:isnil (), "Ardour did not find urn:roomplate:reverb")
assert (track:add_processor_by_index (reverb, 1, nil, true) == 0, "Roomplate was not added")
print ("loaded: " .. reverb:display_name ())

local export = session:simple_export ()
export:set_name ("tail")
export:set_folder (folder)
export:set_range (0, 3 * rate)
assert (export:set_preset (wav_at_session_rate), "no WAV export preset")
assert (export:check_outputs (), "nothing to export")
assert (export:run_export (), "the export failed")
print ("exported: " .. folder .. "/tail.wav")
close_session ()
