# Puts one file of assets/skins into the program folder: skin files get the program's
# version written in (@PROJECT_VERSION@), pictures are copied as they are.
# Run as: cmake -DFROM=<source> -DTO=<target> -DMODE=skin|copy -DPROJECT_VERSION=<x.y.z> -P
if(MODE STREQUAL "skin")
  configure_file(${FROM} ${TO} @ONLY)
else()
  configure_file(${FROM} ${TO} COPYONLY)
endif()
# configure_file leaves an unchanged target alone; the build needs it newer than its source.
file(TOUCH ${TO})
