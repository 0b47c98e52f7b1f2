// Which platform a test runs on, for the few expectations where Wine is known
// to differ from Windows. Each such place says what Windows does.
#pragma once

bool running_under_wine();
