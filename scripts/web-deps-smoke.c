/* Checks the browser libraries of scripts/build-web-deps from the inside: it
 * starts SDL without a window, renders text with SDL_ttf (FreeType and
 * HarfBuzz), writes that text as a PNG and reads it back, reads one of the
 * game's BMP pictures and one of its WAV sounds, and opens the sound output.
 *
 * The script builds it with emcc and runs it under node; built natively
 * against Debian's own libraries it prints the same digests for the text and
 * the pictures, which is how we know a line of text lands on the same pixels
 * in the browser as on Linux.
 *
 *   web-deps-smoke FONT BMP WAV OUTDIR [--fake-web-audio]
 *
 * --fake-web-audio (emscripten only) puts a minimal AudioContext where node
 * has none, so that SDL's Web Audio back end opens and the mixer's callback
 * can be driven by hand; in a browser the real one is used.
 *
 * Each step prints one line. Exit status 0 when every step worked, 1 when one
 * failed, 2 for a wrong command line.
 */
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <stdio.h>
#include <string.h>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

static int failures = 0;

static void fail(const char *what, const char *why)
{
    printf("FAILED %s: %s\n", what, why);
    ++failures;
}

/* FNV-1a over the visible bytes of each row, so padding at the end of a row
 * (which differs between builds) does not count. */
static Uint32 digest(SDL_Surface *s)
{
    Uint32 h = 2166136261u;
    const int row = s->w * s->format->BytesPerPixel;
    if (SDL_LockSurface(s) != 0) {
        return 0;
    }
    for (int y = 0; y < s->h; ++y) {
        const Uint8 *p = (const Uint8 *)s->pixels + (size_t)y * (size_t)s->pitch;
        for (int x = 0; x < row; ++x) {
            h = (h ^ p[x]) * 16777619u;
        }
    }
    SDL_UnlockSurface(s);
    return h;
}

/* The surface in one fixed layout, so that digests compare equal whatever
 * format a loader hands back. */
static SDL_Surface *as_argb(SDL_Surface *s)
{
    return s != NULL ? SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0) : NULL;
}

static void versions(void)
{
    SDL_version sdl;
    SDL_GetVersion(&sdl);
    const SDL_version *ttf = TTF_Linked_Version();
    const SDL_version *mix = Mix_Linked_Version();
    const SDL_version *img = IMG_Linked_Version();
    printf("versions: SDL %d.%d.%d, SDL_ttf %d.%d.%d, SDL_mixer %d.%d.%d, SDL_image %d.%d.%d\n",
           sdl.major, sdl.minor, sdl.patch, ttf->major, ttf->minor, ttf->patch, mix->major,
           mix->minor, mix->patch, img->major, img->minor, img->patch);
}

static SDL_Surface *text(const char *font_path)
{
    if (TTF_Init() != 0) {
        fail("TTF_Init", TTF_GetError());
        return NULL;
    }
    TTF_Font *font = TTF_OpenFont(font_path, 32);
    if (font == NULL) {
        fail("TTF_OpenFont", TTF_GetError());
        return NULL;
    }
    /* Only a build with HarfBuzz accepts a script. */
    printf("SDL_ttf shapes with HarfBuzz: %s\n",
           TTF_SetFontScriptName(font, "Latn") == 0 ? "yes" : "no");

    const SDL_Color ink = {20, 40, 90, 255};
    SDL_Surface *glyph = TTF_RenderGlyph32_Blended(font, 0x00DF /* ß */, ink);
    SDL_Surface *line = TTF_RenderUTF8_Blended(font, "M\xC3\xB6wenschu\xC3\x9F 1234 AV Wa", ink);
    if (glyph == NULL || line == NULL) {
        fail("TTF_Render", TTF_GetError());
    } else {
        printf("glyph U+00DF at 32 px: %dx%d, digest %08x\n", glyph->w, glyph->h,
               (unsigned)digest(glyph));
        printf("text at 32 px: %dx%d, digest %08x\n", line->w, line->h, (unsigned)digest(line));
    }
    SDL_FreeSurface(glyph);
    TTF_CloseFont(font);
    return line;
}

static void png_round_trip(SDL_Surface *line, const char *outdir)
{
    char path[1024];
    if (SDL_snprintf(path, sizeof path, "%s/web-deps-smoke.png", outdir) >= (int)sizeof path) {
        fail("IMG_SavePNG", "the output folder's name is too long");
        return;
    }
    if (IMG_SavePNG(line, path) != 0) {
        fail("IMG_SavePNG", IMG_GetError());
        return;
    }
    SDL_Surface *raw = IMG_Load(path);
    SDL_Surface *back = as_argb(raw);
    SDL_Surface *orig = as_argb(line);
    if (back == NULL || orig == NULL) {
        fail("IMG_Load of the PNG", IMG_GetError());
    } else if (back->w != orig->w || back->h != orig->h || digest(back) != digest(orig)) {
        fail("PNG round trip", "the pixels read back differ from those written");
    } else {
        SDL_RWops *f = SDL_RWFromFile(path, "rb");
        Sint64 size = f != NULL ? SDL_RWsize(f) : -1;
        if (f != NULL) {
            SDL_RWclose(f);
        }
        printf("IMG_SavePNG %s: %lld bytes, read back with the same pixels\n", path,
               (long long)size);
    }
    SDL_FreeSurface(raw);
    SDL_FreeSurface(back);
    SDL_FreeSurface(orig);
}

/* Reads the picture, then draws the text over it as the game draws on its
 * screen: tiles of the picture and the blended text on a 16-bit surface. */
static void bmp_and_blend(const char *bmp_path, SDL_Surface *line)
{
    SDL_Surface *raw = IMG_Load(bmp_path);
    SDL_Surface *pic = as_argb(raw);
    if (pic == NULL) {
        fail("IMG_Load of the BMP", IMG_GetError());
        SDL_FreeSurface(raw);
        return;
    }
    printf("IMG_Load %s: %dx%d, digest %08x\n", bmp_path, pic->w, pic->h, (unsigned)digest(pic));
    if (line != NULL) {
        SDL_Surface *screen =
            SDL_CreateRGBSurfaceWithFormat(0, line->w, line->h, 16, SDL_PIXELFORMAT_RGB565);
        int ok = screen != NULL && SDL_SetSurfaceBlendMode(raw, SDL_BLENDMODE_NONE) == 0 &&
                 SDL_SetSurfaceBlendMode(line, SDL_BLENDMODE_BLEND) == 0;
        for (int y = 0; ok && y < line->h; y += raw->h) {
            for (int x = 0; ok && x < line->w; x += raw->w) {
                SDL_Rect at = {x, y, raw->w, raw->h};
                ok = SDL_BlitSurface(raw, NULL, screen, &at) == 0;
            }
        }
        ok = ok && SDL_BlitSurface(line, NULL, screen, NULL) == 0;
        if (!ok) {
            fail("blending the text over the picture", SDL_GetError());
        } else {
            printf("text blended over the picture at 16 bit: digest %08x\n",
                   (unsigned)digest(screen));
        }
        SDL_FreeSurface(screen);
    }
    SDL_FreeSurface(raw);
    SDL_FreeSurface(pic);
}

static void wav(const char *wav_path)
{
    SDL_AudioSpec format;
    Uint8 *buf = NULL;
    Uint32 len = 0;
    if (SDL_LoadWAV_RW(SDL_RWFromFile(wav_path, "rb"), 1, &format, &buf, &len) == NULL) {
        fail("SDL_LoadWAV_RW", SDL_GetError());
        return;
    }
    Uint32 h = 2166136261u;
    for (Uint32 i = 0; i < len; ++i) {
        h = (h ^ buf[i]) * 16777619u;
    }
    printf("SDL_LoadWAV_RW %s: %d Hz, %d channel(s), %d bit, %u bytes, digest %08x\n", wav_path,
           format.freq, format.channels, SDL_AUDIO_BITSIZE(format.format), (unsigned)len,
           (unsigned)h);
    SDL_FreeWAV(buf);
}

#ifdef __EMSCRIPTEN__
/* A stand-in for the browser's AudioContext: enough of it for SDL to open its
 * output and hand us the script processor, whose callback we then call. SDL
 * also asks the navigator whether there is a microphone (there is none here),
 * and emscripten waits for a key or click on the page before it resumes a
 * suspended context (a page without elements). */
EM_JS(void, fake_web_audio, (void), {
    if (typeof AudioContext !== 'undefined') {
        return;
    }
    if (typeof navigator === 'undefined') {
        globalThis.navigator = {};
    }
    if (typeof document === 'undefined') {
        globalThis.document = { getElementById: function() { return null; },
                                addEventListener: function() {},
                                removeEventListener: function() {} };
    }
    globalThis.AudioContext = function() {
        this.sampleRate = 44100;
        this.state = 'running';
        this.destination = {};
        this.resume = function() { return Promise.resolve(); };
        this.close = function() {};
        this.createScriptProcessor = function(frames, inputs, channels) {
            return { frames: frames, channels: channels, connect: function() {},
                     disconnect: function() {} };
        };
    };
});

/* Calls the script processor as the browser would, `calls` times, and returns
 * the largest sample it was given (-1 when SDL set up none). */
EM_JS(double, pull_web_audio, (int calls), {
    var sdl = Module['SDL2'];
    var node = sdl && sdl.audio && sdl.audio.scriptProcessorNode;
    if (!node || !node.onaudioprocess) {
        return -1;
    }
    var peak = 0;
    for (var i = 0; i < calls; ++i) {
        var data = [];
        for (var c = 0; c < node.channels; ++c) {
            data.push(new Float32Array(node.frames));
        }
        node.onaudioprocess({ outputBuffer: { numberOfChannels: node.channels,
                                              getChannelData: function(c) { return data[c]; } } });
        for (var c = 0; c < node.channels; ++c) {
            for (var j = 0; j < node.frames; ++j) {
                peak = Math.max(peak, Math.abs(data[c][j]));
            }
        }
    }
    return peak;
});
#endif

static void audio(const char *wav_path, int fake)
{
    printf("audio drivers built in:");
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
        printf(" %s", SDL_GetAudioDriver(i));
    }
    printf("\n");
#ifdef __EMSCRIPTEN__
    if (fake) {
        fake_web_audio();
    }
#else
    (void)fake;
#endif
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        /* Under node without the stand-in this is expected: there is no Web Audio. */
        printf("SDL_INIT_AUDIO: not available here (%s)\n", SDL_GetError());
        return;
    }
    printf("SDL_INIT_AUDIO: driver %s\n", SDL_GetCurrentAudioDriver());
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        fail("Mix_OpenAudio", Mix_GetError());
        return;
    }
    int freq = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&freq, &format, &channels);
    printf("Mix_OpenAudio: %d Hz, %d channel(s), %d bit\n", freq, channels, SDL_AUDIO_BITSIZE(format));
    Mix_Chunk *chunk = Mix_LoadWAV_RW(SDL_RWFromFile(wav_path, "rb"), 1);
    if (chunk == NULL) {
        fail("Mix_LoadWAV_RW", Mix_GetError());
    } else {
        printf("Mix_LoadWAV_RW: %u bytes in the device's format\n", (unsigned)chunk->alen);
        if (Mix_PlayChannel(-1, chunk, 0) < 0) {
            fail("Mix_PlayChannel", Mix_GetError());
        }
#ifdef __EMSCRIPTEN__
        double peak = pull_web_audio(8);
        if (peak <= 0) {
            fail("Web Audio callback", peak < 0 ? "no script processor" : "only silence");
        } else {
            printf("Web Audio callback: the mixer filled its buffers, peak %.3f\n", peak);
        }
#endif
        Mix_HaltChannel(-1);
        Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int main(int argc, char **argv)
{
    const int fake = argc == 6 && strcmp(argv[5], "--fake-web-audio") == 0;
    if (argc != 5 && !fake) {
        fprintf(stderr, "usage: %s FONT BMP WAV OUTDIR [--fake-web-audio]\n", argv[0]);
        return 2;
    }

    versions();
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        fail("SDL_Init", SDL_GetError());
        return 1;
    }
    printf("SDL_Init(TIMER|EVENTS): ok, performance counter at %llu Hz\n",
           (unsigned long long)SDL_GetPerformanceFrequency());

    SDL_Surface *line = text(argv[1]);
    if (line != NULL) {
        png_round_trip(line, argv[4]);
    }
    bmp_and_blend(argv[2], line);
    SDL_FreeSurface(line);
    wav(argv[3]);
    audio(argv[3], fake);

    TTF_Quit();
    IMG_Quit();
    SDL_Quit();
    printf("%s\n", failures == 0 ? "all steps passed" : "some steps FAILED");
    return failures == 0 ? 0 : 1;
}
