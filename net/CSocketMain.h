// Placeholder until the message client is built: CSetupLogic owns an
// (always null) pointer to one and deletes it in its destructor.
#pragma once

class CSocketMain {
 public:
  virtual ~CSocketMain() {}
};
