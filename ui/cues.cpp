// The eight sound cues: their files, loaded in this order into the board's handles.
#include "board/minebd.h"
#include "platform/disp.h"

void MineBd::initaudio() {
    // A bad file is the display layer's affair: it gives a clip that plays nothing.
    sndwin = LoadAudio292("./wav/Win.wav");      // a level gained
    sndlose = LoadAudio292("./wav/Lose.wav");    // the game is lost
    snderror = LoadAudio292("./wav/Error.wav");  // a mine was opened
    sndleft = LoadAudio292("./wav/Left.wav");    // a safe cell was opened
    sndright = LoadAudio292("./wav/Right.wav");  // a chord opened neighbours
    sndflag = LoadAudio292("./wav/Flag.wav");    // a question mark toggled, or neighbours flagged
    sndnew = LoadAudio292("./wav/New.wav");      // a fresh board, or the bonus rows
    sndsolve = LoadAudio292("./wav/Solve.wav");  // rows removed, or a solver pass ended
}
