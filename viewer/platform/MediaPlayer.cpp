#include "MediaPlayer.h"

MediaPlayer::~MediaPlayer() = default;
