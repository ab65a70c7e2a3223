-- A DSP script for Ardour's Lua host: stereo noise for the first 0.1 s of
-- the transport (4800 samples at 48 kHz), silence after it, so that what a
-- reverb after it puts out later is its tail. Installed into the scratch
-- Ardour configuration's scripts folder by vst3_ardour.sh.
ardour { ["type"] = "dsp", name = "Roomplate test burst", category = "Utility" }
function dsp_ioconfig () return { { audio_in = 2, audio_out = 2 } } end
local seed = 1
function dsp_run (ins, outs, n_samples)
	local start = Session:transport_sample ()
	for c = 1, 2 do
		local out = outs[c]:array ()
		for i = 1, n_samples do
			if Session:transport_rolling () and start + i - 1 < 4800 then
				seed = (seed * 1103515245 + 12345) % 2147483648
				out[i] = seed / 2147483648 - 0.5
			else
				out[i] = 0
			end
		end
	end
end
