# Windows layer of the date controls: locale sources, the calendar and the date field.
list(APPEND ZELVO_WIN_SOURCES
  controls/zcintl.cpp
  controls/zccalendar.cpp
  controls/zcdateedit.cpp
)
