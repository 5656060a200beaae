# cmake -DSOURCE=... -DDESTINATION=... -P CopyIfMissing.cmake: copies a file only where none is,
# so that a starter file never replaces the one a user has changed.
if(NOT EXISTS "${DESTINATION}")
    configure_file("${SOURCE}" "${DESTINATION}" COPYONLY)
endif()
