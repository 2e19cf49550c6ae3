# End-to-end scripts driving the real register.exe under Xvfb and Wine.
