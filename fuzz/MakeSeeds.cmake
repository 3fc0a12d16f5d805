# Makes the seed corpus of every fuzz target, so each run starts from real recordings, logs,
# skins and settings instead of from nothing:
#   fuzz_mp4        a short recording in every layout make-recording knows, each also with
#                   the movie header first and as cut off by a power failure, plus a few
#                   layout options; and the movie structure of the real camera recordings
#   fuzz_nmea       the GPS text cut out of all of them (seed-cutter) and pieces of the real
#                   GPS logs
#   fuzz_telemetry  the telemetry samples, blocks and records cut out of them, and pieces of
#                   the real accelerometer logs
#   fuzz_skin       the shipped skin files, with the version written in as the build does
# fuzz_settings is seeded from fuzz/seeds/fuzz_settings, kept in the source tree.
# Real camera files are only read; the seeds hold pieces of them.
# Run as: cmake -DMAKE_RECORDING=<program> -DSEED_CUTTER=<program> -DROUTE=<route.txt>
#   -DSKINS=<assets/skins> -DPROJECT_VERSION=<x.y.z> -DSAMPLES=<folder or empty> -DOUT=<folder> -P
cmake_minimum_required(VERSION 3.25)
foreach(var MAKE_RECORDING SEED_CUTTER ROUTE SKINS PROJECT_VERSION OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "MakeSeeds.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT}/fuzz_mp4 ${OUT}/fuzz_nmea ${OUT}/fuzz_telemetry ${OUT}/fuzz_skin)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command}\nfailed (${result}): ${error}")
  endif()
endfunction()

# The layouts are the ones the program names in its usage text, so a new layout is seeded
# as soon as the program knows it.
execute_process(COMMAND ${MAKE_RECORDING} --help OUTPUT_VARIABLE usage RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT usage MATCHES "\nlayouts: ([^\n]+)")
  message(FATAL_ERROR "${MAKE_RECORDING} --help names no layouts")
endif()
string(REPLACE ", " ";" layouts "${CMAKE_MATCH_1}")

# Tiny pictures at one frame a second keep the media data, which the readers skip, small:
# a recording of the route is about 4 KB.
set(small --size 16x16 --fps 1 --no-audio)
set(recordings)
function(record name)
  set(out ${OUT}/fuzz_mp4/${name}.mp4)
  run(${MAKE_RECORDING} ${ARGN} --out ${out})
  set(recordings ${recordings} ${out} PARENT_SCOPE)
endfunction()

foreach(layout IN LISTS layouts)
  record(${layout} --layout ${layout} --route ${ROUTE} ${small})
  # With sound, so the movie has one more track to pass over, and a drive long enough to
  # have fixes after its parked start.
  record(${layout}-moov-first --layout ${layout} --synth 6 --size 16x16 --fps 2 --moov-first)
  record(${layout}-power-cut --layout ${layout} --route ${ROUTE} ${small} --truncate)
endforeach()

# The options that change where a reader finds things, each on a layout that has them:
# layout|name|options.
set(options
    "novatek|no-index|--no-index"
    "novatek|padded|--pad 4K"
    "novatek-a119|local-time|--local-time --block-size 0x100"
    "nmea-text|64-bit|--co64 --large-mdat"
    "gopro|co64|--co64"
    "thinkware|padded-after|--pad 4K --pad-after"
    "blackvue|cut-short|--cut-at 3K"
    "70mai|large-mdat|--large-mdat --moov-first")
foreach(entry IN LISTS options)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 layout)
  list(GET entry 1 name)
  list(GET entry 2 extra)
  if(layout IN_LIST layouts)
    separate_arguments(extra UNIX_COMMAND "${extra}")
    record(${layout}-${name} --layout ${layout} --route ${ROUTE} ${small} ${extra})
  endif()
endforeach()

# The real camera files, where the folder is there: their logs in pieces, and the samples and
# the movie structure of their recordings.
set(samples)
if(SAMPLES AND IS_DIRECTORY ${SAMPLES})
  file(GLOB_RECURSE samples LIST_DIRECTORIES false ${SAMPLES}/*.mp4 ${SAMPLES}/*.MP4
       ${SAMPLES}/*.mov ${SAMPLES}/*.MOV ${SAMPLES}/*.gps ${SAMPLES}/*.3gf)
endif()
run(${SEED_CUTTER} ${OUT} ${recordings} --movie-only ${samples})

# The skin files as the program folder holds them; the pictures stay where they are.
file(GLOB_RECURSE skins RELATIVE ${SKINS} ${SKINS}/*)
foreach(skin IN LISTS skins)
  if(NOT skin MATCHES "^(art|support)/")
    string(REPLACE "/" "-" name ${skin})
    configure_file(${SKINS}/${skin} ${OUT}/fuzz_skin/${name} @ONLY)
  endif()
endforeach()

file(TOUCH ${OUT}/made)
