// The MIDI input on the ALSA sequencer: a port that keyboards and other
// programs connect to. Its own thread waits for events, turns each back into
// MIDI bytes and parses them into the audition's MIDI queue.
#include <alsa/asoundlib.h>

#include <thread>

#include "platform/common/audition_port.h"
#include "platform/common/midi_parser.h"
#include "platform/platform.h"

namespace {

const char PortName[] = "QARNO Wavetable Maker";

void ReadEvents(snd_seq_t* sequencer, snd_midi_event_t* decoder) {
    MidiParser parser;
    unsigned char bytes[64];
    for (;;) {
        snd_seq_event_t* input = nullptr;
        if (snd_seq_event_input(sequencer, &input) < 0 || input == nullptr) continue;
        const long count = snd_midi_event_decode(decoder, bytes, sizeof bytes, input);
        for (long i = 0; i < count; ++i) {
            AuditionEvent event;
            if (MidiParse(parser, bytes[i], event)) AuditionPortSend(AuditionSender::Midi, event);
        }
    }
}

// A system without a sequencer is an ordinary case, not worth ALSA's own
// message on stderr.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

} // namespace

std::string OpenMidiInput() {
    snd_lib_error_set_handler(Quiet);
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_INPUT, 0) < 0) return "";
    snd_midi_event_t* decoder = nullptr;
    snd_seq_set_client_name(sequencer, PortName);
    const int port = snd_seq_create_simple_port(
        sequencer, PortName, SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (port < 0 || snd_midi_event_new(64, &decoder) < 0) {
        snd_seq_close(sequencer);
        return "";
    }
    // Each event is decoded whole, without running status, so the parser
    // sees plain messages.
    snd_midi_event_no_status(decoder, 1);
    // Runs until the program ends; the system closes the port then.
    std::thread(ReadEvents, sequencer, decoder).detach();
    return PortName;
}
