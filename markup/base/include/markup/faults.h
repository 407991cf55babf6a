// The engine's exception classes. They carry no data: the class is the whole
// message, and a handler names the most general class it is prepared for.
#pragma once

namespace markup {

class Fault {};

class LogicFault : public Fault {};
class IllegalUsageFault : public LogicFault {};
class InvalidArgumentFault : public LogicFault {};

class RuntimeFault : public Fault {};
class IOFault : public RuntimeFault {};
class ReadFault : public IOFault {};
class BadAllocationFault : public RuntimeFault {};
class MemoryAllocationFault : public BadAllocationFault {};
class ResourceAllocationFault : public BadAllocationFault {};

}  // namespace markup
