#pragma once

// A service that reaches outside the process (the screen, the clock,
// processes) is used through its interface; tests put their own in its place
// for as long as a Seam<Interface>::Scoped lives. Each interface names its
// production instance with a static Interface& Default().
template <class Interface>
class Seam {
 public:
  static Interface& Get() { return slot() ? *slot() : Interface::Default(); }

  class Scoped {
   public:
    explicit Scoped(Interface& replacement) : previous_(slot()) { slot() = &replacement; }
    ~Scoped() { slot() = previous_; }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

   private:
    Interface* previous_;
  };

  // Installs a service for the rest of the program's life (or until another
  // installation); nullptr goes back to the default.
  static void Install(Interface* service) { slot() = service; }

 private:
  static Interface*& slot() {
    static Interface* current = nullptr;
    return current;
  }
};
