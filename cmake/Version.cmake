# The version, written once: the native build, the browser edition and the package take it.
set(QUARZEL_VERSION 2.0.0.252)
# Build-time version record: the about box and start-up read these.
set(QUARZEL_FILE_VERSION "${QUARZEL_VERSION}")
set(QUARZEL_PRERELEASE 1)
# dpkg sorts "~" before everything, even the end of the text, so the release that drops
# the suffix comes after this pre-release.
if(QUARZEL_PRERELEASE)
  set(QUARZEL_PACKAGE_VERSION "${QUARZEL_VERSION}~beta")
else()
  set(QUARZEL_PACKAGE_VERSION "${QUARZEL_VERSION}")
endif()
