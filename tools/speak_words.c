// Speaks a UTF-8 text file with espeak-ng into a mono 16-bit WAV file and
// prints where each word starts: one line per word event, its start in
// milliseconds from the start of the WAV, a tab, the character offset of the
// word in the text (from 0) and a tab and its length in characters. The
// samples and the events come from the same synthesis, so the times fit the
// recording exactly. Options as the espeak-ng command line: -v voice,
// -s words a minute, -p pitch, -g word gap (10 ms units); text inside [[ ]]
// is phonemes.
//
//   speak_words -v ru+f5 -s 135 -p 40 -g 2 TEXT.txt OUT.wav

#include <espeak-ng/speak_lib.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
  int16_t* samples;
  size_t count, capacity;
  FILE* words;
  int failed;
} Sink;

static int collect(short* wav, int count, espeak_EVENT* events) {
  Sink* sink = (Sink*)events->user_data;
  for (espeak_EVENT* e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e)
    if (e->type == espeakEVENT_WORD)
      fprintf(sink->words, "%d\t%d\t%d\n", e->audio_position, e->text_position - 1, e->length);
  if (!wav || count <= 0) return 0;
  if (sink->count + (size_t)count > sink->capacity) {
    size_t capacity = (sink->capacity + (size_t)count) * 2;
    int16_t* grown = realloc(sink->samples, capacity * sizeof *grown);
    if (!grown) {
      sink->failed = 1;
      return 1;  // stops the synthesis
    }
    sink->samples = grown;
    sink->capacity = capacity;
  }
  memcpy(sink->samples + sink->count, wav, (size_t)count * sizeof *wav);
  sink->count += (size_t)count;
  return 0;
}

static void put32(FILE* f, uint32_t v) {
  unsigned char b[4] = {v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff, v >> 24};
  fwrite(b, 1, 4, f);
}

static void put16(FILE* f, uint16_t v) {
  unsigned char b[2] = {v & 0xff, v >> 8};
  fwrite(b, 1, 2, f);
}

static int writeWav(const char* path, const Sink* sink, int rate) {
  FILE* f = fopen(path, "wb");
  if (!f) return 0;
  uint32_t bytes = (uint32_t)(sink->count * 2);
  fwrite("RIFF", 1, 4, f);
  put32(f, 36 + bytes);
  fwrite("WAVEfmt ", 1, 8, f);
  put32(f, 16);
  put16(f, 1);  // PCM
  put16(f, 1);  // mono
  put32(f, (uint32_t)rate);
  put32(f, (uint32_t)rate * 2);
  put16(f, 2);
  put16(f, 16);
  fwrite("data", 1, 4, f);
  put32(f, bytes);
  for (size_t i = 0; i < sink->count; ++i) put16(f, (uint16_t)sink->samples[i]);
  return fclose(f) == 0;
}

static char* readText(const char* path) {
  FILE* f = fopen(path, "rb");
  if (!f) return NULL;
  fseek(f, 0, SEEK_END);
  long size = ftell(f);
  fseek(f, 0, SEEK_SET);
  char* text = size >= 0 ? malloc((size_t)size + 1) : NULL;
  if (text && fread(text, 1, (size_t)size, f) != (size_t)size) {
    free(text);
    text = NULL;
  }
  if (text) text[size] = 0;
  fclose(f);
  return text;
}

static int usage(void) {
  fprintf(stderr, "usage: speak_words -v VOICE -s SPEED -p PITCH -g GAP TEXT.txt OUT.wav\n");
  return 2;
}

int main(int argc, char** argv) {
  const char* voice = "ru";
  int speed = 175, pitch = 50, gap = 0, i = 1;
  for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] && !argv[i][2]; i += 2) {
    switch (argv[i][1]) {
      case 'v':
        voice = argv[i + 1];
        break;
      case 's':
        speed = atoi(argv[i + 1]);
        break;
      case 'p':
        pitch = atoi(argv[i + 1]);
        break;
      case 'g':
        gap = atoi(argv[i + 1]);
        break;
      default:
        return usage();
    }
  }
  if (argc - i != 2) return usage();
  char* text = readText(argv[i]);
  if (!text) {
    fprintf(stderr, "speak_words: cannot read %s\n", argv[i]);
    return 1;
  }
  int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, NULL, 0);
  if (rate <= 0 || espeak_SetVoiceByName(voice) != EE_OK) {
    fprintf(stderr, "speak_words: espeak-ng cannot speak with voice %s\n", voice);
    free(text);
    return 1;
  }
  espeak_SetParameter(espeakRATE, speed, 0);
  espeak_SetParameter(espeakPITCH, pitch, 0);
  espeak_SetParameter(espeakWORDGAP, gap, 0);
  espeak_SetSynthCallback(collect);
  Sink sink = {NULL, 0, 0, stdout, 0};
  // As the command line speaks a file: phonemes in [[ ]], a pause at the end.
  espeak_ERROR error =
      espeak_Synth(text, strlen(text) + 1, 0, POS_CHARACTER, 0,
                   espeakCHARS_UTF8 | espeakPHONEMES | espeakENDPAUSE, NULL, &sink);
  espeak_Synchronize();
  espeak_Terminate();
  free(text);
  int ok = error == EE_OK && !sink.failed && sink.count > 0 && writeWav(argv[i + 1], &sink, rate);
  free(sink.samples);
  if (!ok) fprintf(stderr, "speak_words: synthesis failed\n");
  return ok ? 0 : 1;
}
