# Writes the software-centre metadata from its template: included by the
# build, or run as cmake -DZEB_METAINFO_IN=template -DZEB_METAINFO_OUT=file
# [-DZEB_SCREENSHOT_URL=https://…/docs] -P metainfo.cmake. Without the
# address the screenshot list is dropped: software centres take screenshots
# from the web only.
file(READ ${ZEB_METAINFO_IN} zeb_metainfo)
string(REGEX REPLACE "/+$" "" ZEB_SCREENSHOT_URL "${ZEB_SCREENSHOT_URL}")
if(ZEB_SCREENSHOT_URL STREQUAL "")
  string(REGEX REPLACE "  <screenshots>.*</screenshots>\n" "" zeb_metainfo "${zeb_metainfo}")
endif()
string(CONFIGURE "${zeb_metainfo}" zeb_metainfo @ONLY)
file(WRITE ${ZEB_METAINFO_OUT} "${zeb_metainfo}")
