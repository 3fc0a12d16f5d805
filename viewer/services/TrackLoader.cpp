#include "services/TrackLoader.h"

TrackLoader::~TrackLoader() = default;
