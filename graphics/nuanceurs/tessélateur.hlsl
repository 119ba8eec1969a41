// Bicubic Bezier patches tessellated on the GPU: each patch arrives as its 16 control points
// (row-major 4 × 4); the domain stage evaluates
//     P(u, v) = sum over r, c of B_r(v) * B_c(u) * P[4r + c]
// with the cubic Bernstein polynomials B, u along the columns and v along the rows.

cbuffer TransformConstants : register(b0)
{
    float4x4 world;
    float4x4 viewProjection;
};

// Register b1 is the tessellation factor (x) for the hull stage, the colour for the pixel stage.
cbuffer StageConstants : register(b1)
{
    float4 stageValue;
};

struct ControlPoint
{
    float3 position : POSITION;
};

struct PatchFactors
{
    float edges[4] : SV_TessFactor;
    float inside[2] : SV_InsideTessFactor;
};

ControlPoint BezierVS(ControlPoint input)
{
    return input;
}

PatchFactors ConstantFactors(InputPatch<ControlPoint, 16> patch, uint patchId : SV_PrimitiveID)
{
    PatchFactors factors;
    float f = stageValue.x;
    factors.edges[0] = f;
    factors.edges[1] = f;
    factors.edges[2] = f;
    factors.edges[3] = f;
    factors.inside[0] = f;
    factors.inside[1] = f;
    return factors;
}

[domain("quad")]
[partitioning("integer")]
[outputtopology("triangle_cw")]
[outputcontrolpoints(16)]
[patchconstantfunc("ConstantFactors")]
ControlPoint HS(InputPatch<ControlPoint, 16> patch, uint i : SV_OutputControlPointID,
                uint patchId : SV_PrimitiveID)
{
    ControlPoint output;
    output.position = patch[i].position;
    return output;
}

float4 Bernstein(float t)
{
    float s = 1.0 - t;
    return float4(s * s * s, 3.0 * t * s * s, 3.0 * t * t * s, t * t * t);
}

// The shaded display's light: the direction the camera looks along (xyz).
cbuffer LightConstants : register(b2)
{
    float4 light;
};

float4 BernsteinDerivative(float t)
{
    float s = 1.0 - t;
    return float4(-3.0 * s * s, 3.0 * s * s - 6.0 * t * s, 6.0 * t * s - 3.0 * t * t, 3.0 * t * t);
}

struct SurfacePoint
{
    float4 position : SV_POSITION;
    float shade : TEXCOORD0;
};

[domain("quad")]
SurfacePoint main(PatchFactors factors, float2 uv : SV_DomainLocation,
                  const OutputPatch<ControlPoint, 16> patch)
{
    float4 bu = Bernstein(uv.x);
    float4 bv = Bernstein(uv.y);
    float4 du = BernsteinDerivative(uv.x);
    float4 dv = BernsteinDerivative(uv.y);
    float3 p = float3(0.0, 0.0, 0.0);
    float3 alongU = float3(0.0, 0.0, 0.0);
    float3 alongV = float3(0.0, 0.0, 0.0);
    [unroll] for (int r = 0; r < 4; ++r)
    {
        float3 row = bu.x * patch[4 * r].position + bu.y * patch[4 * r + 1].position +
                     bu.z * patch[4 * r + 2].position + bu.w * patch[4 * r + 3].position;
        float3 rowSlope = du.x * patch[4 * r].position + du.y * patch[4 * r + 1].position +
                          du.z * patch[4 * r + 2].position + du.w * patch[4 * r + 3].position;
        p += bv[r] * row;
        alongU += bv[r] * rowSlope;
        alongV += dv[r] * row;
    }
    SurfacePoint output;
    output.position = mul(mul(float4(p, 1.0), world), viewProjection);
    // The normal from the derivatives, as the program's own evaluation has it; a collapsed
    // edge (no normal) is lit fully.
    float3 n = mul(float4(cross(alongU, alongV), 0.0), world).xyz;
    float lengthSquared = dot(n, n);
    output.shade = lengthSquared > 1e-20 ? 0.25 + 0.75 * abs(dot(n, light.xyz)) * rsqrt(lengthSquared)
                                         : 1.0;
    return output;
}

float4 BezierPS(SurfacePoint input) : SV_TARGET
{
    return stageValue;
}

float4 BezierShadedPS(SurfacePoint input) : SV_TARGET
{
    return float4(stageValue.rgb * input.shade, stageValue.a);
}
