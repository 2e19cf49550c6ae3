# Windows layer of the date controls: locale sources, the calendar and the date field.
list(APPEND ZELVO_WIN_SOURCES
  controls/zcintl_win.cpp
  controls/zccalendar.cpp
  controls/zcdateedit.cpp
)
