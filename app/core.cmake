# Portable rules of start-up and online registration.
zelvo_core_part(app SOURCES app/Registration.cpp DEPENDS util)
