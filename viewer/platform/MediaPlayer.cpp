#include "platform/MediaPlayer.h"

MediaPlayer::~MediaPlayer() = default;
