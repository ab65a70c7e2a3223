ardour {
	["type"] = "dsp",
	name = "Roomplate Test Click",
	category = "Utility",
	license = "MIT",
	author = "The Roomplate developers",
	description = [[One full-scale click on both channels when the transport first rolls, silence otherwise: the input of the Ardour end-to-end check.]]
}

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

local clicked = false

function dsp_run (ins, outs, n_samples)
	for c = 1, #outs do
		ARDOUR.DSP.memset (outs[c], 0, n_samples)
	end
	if not clicked and Session:transport_rolling () then
		for c = 1, #outs do
			outs[c]:array ()[1] = 1.0
		end
		clicked = true
	end
end
