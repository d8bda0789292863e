// Base types of the class library: String, small sets, TObject with class names.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <typeinfo>

using String = std::string;  // UTF-8 throughout
using AnsiString = std::string;
using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;
using Integer = std::int32_t;
using Int64 = std::int64_t;

// A Pascal-style set over a small enumeration (at most 64 members).
template <class E>
class Set {
public:
    constexpr Set() = default;
    constexpr Set(std::initializer_list<E> items) {
        for (E e : items) m_bits |= Bit(e);
    }
    constexpr bool Contains(E e) const { return (m_bits & Bit(e)) != 0; }
    constexpr Set& Include(E e) { m_bits |= Bit(e); return *this; }
    constexpr Set& Exclude(E e) { m_bits &= ~Bit(e); return *this; }
    constexpr bool Empty() const { return m_bits == 0; }
    constexpr Set operator+(Set o) const { Set s; s.m_bits = m_bits | o.m_bits; return s; }
    constexpr Set operator-(Set o) const { Set s; s.m_bits = m_bits & ~o.m_bits; return s; }
    constexpr Set operator*(Set o) const { Set s; s.m_bits = m_bits & o.m_bits; return s; }
    constexpr Set& operator<<(E e) { return Include(e); }
    constexpr Set& operator>>(E e) { return Exclude(e); }
    constexpr bool operator==(const Set&) const = default;
    constexpr std::uint64_t Bits() const { return m_bits; }

private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t{1} << static_cast<unsigned>(e); }
    std::uint64_t m_bits = 0;
};

// Declares a class's VCL name; put it first in the class body.
#define VCL_CLASS(Name)                                                   \
public:                                                                   \
    static const char* StaticClassName() { return #Name; }                \
    const char* ClassName() const override { return #Name; }

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const char* StaticClassName() { return "TObject"; }
    virtual const char* ClassName() const { return "TObject"; }
    bool ClassNameIs(const String& name) const;

    // Type tests: obj->Is<TControl>() answers as Delphi's "obj is TControl".
    template <class T>
    bool Is() const { return dynamic_cast<const T*>(this) != nullptr; }
    template <class T>
    T* As() { return dynamic_cast<T*>(this); }

    // Frees an object held through a pointer and clears the pointer (FreeAndNil).
    template <class T>
    static void FreeAndNil(T*& obj) { T* p = obj; obj = nullptr; delete p; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
